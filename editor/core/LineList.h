#pragma once
// A story's bytes as lines, the way every part of the editor splits them: at '\n' only, so that "\r" stays
// in its line and JoinLines(SplitLines(b)) == b for any bytes (n newlines make n + 1 lines; the last line is
// empty when the bytes end with a newline).

#include <string>
#include <string_view>
#include <vector>

namespace editor {

std::vector<std::string> SplitLines(std::string_view bytes);
std::string JoinLines(const std::vector<std::string>& lines);

} // namespace editor
