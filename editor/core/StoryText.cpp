#include "editor/core/StoryText.h"

#include <algorithm>
#include <stdexcept>

namespace editor {

StoryText::StoryText(std::string_view bytes) {
    lines_.clear();
    lines_.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    std::size_t at = 0;
    for (std::size_t end; (end = bytes.find('\n', at)) != std::string_view::npos; at = end + 1) {
        lines_.emplace_back(bytes.substr(at, end - at));
    }
    lines_.emplace_back(bytes.substr(at));
}

std::string StoryText::Join(std::size_t first, std::size_t end) const {
    end = std::min(end, lines_.size());
    std::size_t size = 0;
    for (std::size_t i = first; i < end; ++i) {
        size += lines_[i].size() + 1;
    }
    std::string bytes;
    bytes.reserve(size);
    for (std::size_t i = first; i < end; ++i) {
        if (i != first) {
            bytes += '\n';
        }
        bytes += lines_[i];
    }
    return bytes;
}

std::string StoryText::Bytes() const {
    return Join(0, lines_.size());
}

void StoryText::Apply(const Patch& patch) {
    const std::size_t removed = patch.removed.size();
    if (patch.first > lines_.size() || removed > lines_.size() - patch.first ||
        !std::equal(patch.removed.begin(), patch.removed.end(),
                    lines_.begin() + static_cast<std::ptrdiff_t>(patch.first))) {
        throw std::out_of_range("zmiana źródła nie pasuje do jego wierszy " +
                                std::to_string(patch.first + 1) + "–" +
                                std::to_string(patch.first + removed));
    }
    if (lines_.size() - removed + patch.inserted.size() == 0) {
        throw std::out_of_range("źródło nie może stracić wszystkich wierszy");
    }
    const auto at = lines_.begin() + static_cast<std::ptrdiff_t>(patch.first);
    const std::size_t common = std::min(removed, patch.inserted.size());
    std::copy_n(patch.inserted.begin(), common, at);
    if (removed > common) {
        lines_.erase(at + static_cast<std::ptrdiff_t>(common), at + static_cast<std::ptrdiff_t>(removed));
    } else {
        lines_.insert(at + static_cast<std::ptrdiff_t>(common),
                      patch.inserted.begin() + static_cast<std::ptrdiff_t>(common), patch.inserted.end());
    }
}

} // namespace editor
