#include "scenario/TypeListName.h"

#include <array>
#include <filesystem>
#include <string_view>
#include <utility>

namespace scenario {

namespace {

// The upper-case Polish letters in UTF-8 and their lower-case forms.
constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kPolishCase{{
    {"Ą", "ą"},
    {"Ć", "ć"},
    {"Ę", "ę"},
    {"Ł", "ł"},
    {"Ń", "ń"},
    {"Ó", "ó"},
    {"Ś", "ś"},
    {"Ź", "ź"},
    {"Ż", "ż"},
}};

std::string Folded(std::string_view name) {
    std::string result;
    result.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        bool polish = false;
        for (const auto& [upper, lower] : kPolishCase) {
            if (name.substr(i, upper.size()) == upper) {
                result += lower;
                i += upper.size();
                polish = true;
                break;
            }
        }
        if (!polish) {
            const char c = name[i++];
            result += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return result;
}

} // namespace

std::string TypeListName(const std::string& stepFileName) {
    const std::size_t slash = stepFileName.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = stepFileName.find('.', nameStart);
    return stepFileName.substr(0, dot) + ".lis";
}

std::string FindTypeList(const std::string& stepFileName) {
    namespace fs = std::filesystem;
    const std::string exact = TypeListName(stepFileName);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(exact, ec))) {
        return exact;
    }
    const std::size_t slash = exact.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : exact.substr(0, slash + 1);
    const std::string wanted = Folded(slash == std::string::npos ? exact : exact.substr(slash + 1));
    // The smallest matching name, so that the choice does not depend on the order the folder lists in.
    std::string match;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (Folded(name) == wanted && (match.empty() || name < match)) {
            match = name;
        }
    }
    if (match.empty()) {
        return exact;
    }
    return slash == std::string::npos ? match : exact.substr(0, slash + 1) + match;
}

} // namespace scenario
