#pragma once
// A story source as the tests edit it: a list of lines split at '\n' only, and parts of it joined back, as
// the editor keeps and hands them to the check.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fixtures {

inline std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t end; (end = text.find('\n', at)) != std::string_view::npos; at = end + 1) {
        lines.emplace_back(text.substr(at, end - at));
    }
    lines.emplace_back(text.substr(at));
    return lines;
}

// The lines [first, end) joined with '\n'.
inline std::string JoinLines(const std::vector<std::string>& lines, std::size_t first, std::size_t end) {
    std::string text;
    for (std::size_t i = first; i < end; ++i) {
        text += lines[i];
        if (i + 1 < end) {
            text += '\n';
        }
    }
    return text;
}

inline std::string JoinLines(const std::vector<std::string>& lines) {
    return JoinLines(lines, 0, lines.size());
}

} // namespace fixtures
