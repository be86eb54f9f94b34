#pragma once
// The story source as one string, with where each of its lines starts: the text the check thread keeps.
// It follows the document patch by patch as StoryText does (the same lines, the same bytes), but holds a
// 7 MB story in 7 MB, and gives the whole text or a part of it to the parser without a copy.

#include "editor/core/Patch.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

class SourceBytes {
  public:
    SourceBytes() = default;
    explicit SourceBytes(std::string bytes);

    std::string_view Bytes() const { return text_; }
    std::size_t LineCount() const { return starts_.size(); }
    std::string_view Line(std::size_t i) const;
    // The lines [first, end) joined with '\n', as StoryText::Join gives them.
    std::string_view Lines(std::size_t first, std::size_t end) const;

    // Throws std::out_of_range, as StoryText does, when `removed` is not what stands at `first`.
    void Apply(const Patch& patch);

  private:
    std::size_t LineEnd(std::size_t i) const; // just before its '\n'

    std::string text_;
    std::vector<std::size_t> starts_{0};
};

} // namespace editor
