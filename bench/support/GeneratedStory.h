#pragma once
// A story source as an author writes it, generated at any size for the benchmarks of the toolkit's parser
// and the story editor: every step with a type, a picture, a sound, a description and four choices, every
// text at its field's full length (in characters, Polish letters among them), a label on every tenth
// step, choices leading by number and by label, a comment every hundred steps. It parses without errors.

#include <cstddef>
#include <string>

namespace bench {

std::string GeneratedStory(std::size_t steps);

} // namespace bench
