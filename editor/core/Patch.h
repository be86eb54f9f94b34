#pragma once
// One change of the story source: the lines [first, first + removed.size()) replaced by `inserted`. Every
// edit, undo and redo is told to the views and the journal as patches, so each of them follows the text
// without reading it again.

#include <cstddef>
#include <string>
#include <vector>

namespace editor {

struct Patch {
    std::size_t first = 0;
    std::vector<std::string> removed;  // the lines as they were, without their '\n'
    std::vector<std::string> inserted; // the lines as they become

    Patch Inverse() const { return {first, inserted, removed}; }
    bool operator==(const Patch&) const = default;
};

} // namespace editor
