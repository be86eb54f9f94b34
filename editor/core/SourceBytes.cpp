#include "editor/core/SourceBytes.h"

#include <algorithm>
#include <stdexcept>

namespace editor {

SourceBytes::SourceBytes(std::string bytes) : text_(std::move(bytes)) {
    starts_.reserve(static_cast<std::size_t>(std::count(text_.begin(), text_.end(), '\n')) + 1);
    for (std::size_t at = 0; (at = text_.find('\n', at)) != std::string::npos; ++at) {
        starts_.push_back(at + 1);
    }
}

std::size_t SourceBytes::LineEnd(std::size_t i) const {
    return i + 1 < starts_.size() ? starts_[i + 1] - 1 : text_.size();
}

std::string_view SourceBytes::Line(std::size_t i) const {
    return std::string_view(text_).substr(starts_.at(i), LineEnd(i) - starts_[i]);
}

std::string_view SourceBytes::Lines(std::size_t first, std::size_t end) const {
    end = std::min(end, starts_.size());
    if (first >= end) {
        return {};
    }
    return std::string_view(text_).substr(starts_[first], LineEnd(end - 1) - starts_[first]);
}

void SourceBytes::Apply(const Patch& patch) {
    const std::size_t n = starts_.size();
    const std::size_t first = patch.first;
    const std::size_t removed = patch.removed.size();
    const std::size_t inserted = patch.inserted.size();
    bool matches = first <= n && removed <= n - first;
    for (std::size_t i = 0; matches && i < removed; ++i) {
        matches = Line(first + i) == patch.removed[i];
    }
    if (!matches) {
        throw std::out_of_range("zmiana źródła nie pasuje do jego wierszy " + std::to_string(first + 1) +
                                "–" + std::to_string(first + removed));
    }
    if (n - removed + inserted == 0) {
        throw std::out_of_range("źródło nie może stracić wszystkich wierszy");
    }
    if (removed == 0 && inserted == 0) {
        return;
    }
    std::string joined;
    for (std::size_t j = 0; j < inserted; ++j) {
        joined += j > 0 ? "\n" : "";
        joined += patch.inserted[j];
    }
    // The bytes replaced: the removed lines, with one line break more when lines go and none come.
    std::size_t begin = first < n ? starts_[first] : text_.size();
    std::size_t end = begin;
    if (removed > 0) {
        end = LineEnd(first + removed - 1);
        if (inserted == 0 && first + removed < n) {
            ++end; // the line break after them
        } else if (inserted == 0) {
            --begin; // the line break before them, the last lines going
        }
    } else if (first < n) {
        joined += '\n';
    } else {
        joined.insert(0, 1, '\n');
    }
    const std::size_t firstStart = first < n ? starts_[first] : text_.size() + 1;
    text_.replace(begin, end - begin, joined);
    const auto shift = static_cast<std::ptrdiff_t>(joined.size()) - static_cast<std::ptrdiff_t>(end - begin);

    // The lines before keep their starts, the inserted ones start one after another, the rest move.
    std::vector<std::size_t> fresh;
    fresh.reserve(inserted);
    for (std::size_t j = 0, at = firstStart; j < inserted; at += patch.inserted[j].size() + 1, ++j) {
        fresh.push_back(at);
    }
    const auto at = starts_.begin() + static_cast<std::ptrdiff_t>(first);
    starts_.erase(at, at + static_cast<std::ptrdiff_t>(removed));
    starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(first), fresh.begin(), fresh.end());
    for (std::size_t i = first + inserted; i < starts_.size(); ++i) {
        starts_[i] = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(starts_[i]) + shift);
    }
}

} // namespace editor
