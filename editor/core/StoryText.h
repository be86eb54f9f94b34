#pragma once
// The story source as its author wrote it, byte for byte, as lines: split at '\n' only, so a "\r" stays
// at the end of its line and a text ending in '\n' has an empty last line. Bytes() joins the lines back:
// StoryText(b).Bytes() == b for any bytes, a byte order mark and a missing final newline included.

#include "editor/core/Patch.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

class StoryText {
  public:
    StoryText() = default;
    explicit StoryText(std::string_view bytes);

    std::string Bytes() const;
    std::size_t LineCount() const { return lines_.size(); }
    const std::string& Line(std::size_t i) const { return lines_.at(i); }
    const std::vector<std::string>& Lines() const { return lines_; }
    // The lines [first, end) joined with '\n', as the parser reads a part of the source.
    std::string Join(std::size_t first, std::size_t end) const;

    // Throws std::out_of_range when `removed` is not what stands at `first`.
    void Apply(const Patch& patch);

  private:
    std::vector<std::string> lines_{std::string()};
};

} // namespace editor
