#pragma once
// Saving a story: the file on disk is always a whole old or a whole new file (a temporary file renamed into
// place), and a stop at any moment leaves the journal able to bring back every recorded change.

#include <string>
#include <string_view>

namespace editor {

class JournalWriter;

// Saves `bytes` as the story at `path`. With a journal: first a "saved" record naming the new bytes goes to
// the disk, so that a stop after the rename but before the journal starts again finds the new file
// accounted for; then the rename; then the journal starts again from the new file. Throws SaveError (the
// old file stays as it was) or JournalError (nothing written yet).
void SaveStory(const std::string& path, std::string_view bytes, JournalWriter* journal);

} // namespace editor
