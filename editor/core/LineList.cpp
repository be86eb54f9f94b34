#include "editor/core/LineList.h"

namespace editor {

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = bytes.find('\n'); end != std::string_view::npos; end = bytes.find('\n', start)) {
        lines.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::size_t size = lines.empty() ? 0 : lines.size() - 1;
    for (const std::string& line : lines) {
        size += line.size();
    }
    std::string bytes;
    bytes.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            bytes += '\n';
        }
        bytes += lines[i];
    }
    return bytes;
}

} // namespace editor
