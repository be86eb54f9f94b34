#include "editor/core/StepFilter.h"

#include <array>

namespace editor {

namespace {

struct Fold {
    char32_t from;
    char to;
};

// clang-format off
constexpr std::array<Fold, 18> PolishLetters{{
    {U'ą', 'a'}, {U'ć', 'c'}, {U'ę', 'e'}, {U'ł', 'l'}, {U'ń', 'n'}, {U'ó', 'o'}, {U'ś', 's'}, {U'ź', 'z'}, {U'ż', 'z'},
    {U'Ą', 'a'}, {U'Ć', 'c'}, {U'Ę', 'e'}, {U'Ł', 'l'}, {U'Ń', 'n'}, {U'Ó', 'o'}, {U'Ś', 's'}, {U'Ź', 'z'}, {U'Ż', 'z'},
}};
// clang-format on

bool Contains(std::string_view text, std::string_view foldedQuery) {
    return FoldForSearch(text).find(foldedQuery) != std::string::npos;
}

} // namespace

std::string FoldForSearch(std::string_view utf8) {
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            folded += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte);
            continue;
        }
        // Every Polish letter is two bytes of UTF-8; anything else is copied as it is.
        if ((byte & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const char32_t c = (byte & 0x1F) << 6 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
            bool found = false;
            for (const Fold& fold : PolishLetters) {
                if (fold.from == c) {
                    folded += fold.to;
                    found = true;
                    break;
                }
            }
            if (found) {
                ++i;
                continue;
            }
        }
        folded += static_cast<char>(byte);
    }
    return folded;
}

bool StepMatches(const StepView& step, std::string_view foldedQuery) {
    if (foldedQuery.empty() || foldedQuery == std::to_string(step.number)) {
        return true;
    }
    if (!step.label.empty() && Contains("@" + step.label, foldedQuery)) {
        return true;
    }
    for (const std::string* text : {&step.name, &step.picture, &step.sound, &step.opis}) {
        if (Contains(*text, foldedQuery)) {
            return true;
        }
    }
    for (const std::string& choice : step.choice) {
        if (Contains(choice, foldedQuery)) {
            return true;
        }
    }
    return false;
}

} // namespace editor
