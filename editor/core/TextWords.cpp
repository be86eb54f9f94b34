#include "editor/core/TextWords.h"

namespace editor {

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

bool IsWordLetter(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
        return true;
    }
    // Latin-1 letters and Latin Extended-A and B, where ą ć ę ł ń ó ś ź ż and their capitals lie.
    return c >= 0x00C0 && c <= 0x024F && c != 0x00D7 && c != 0x00F7;
}

std::vector<WordSpan> SplitWords(std::u16string_view text) {
    std::vector<WordSpan> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!IsWordLetter(text[i]) && !IsDigit(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        bool digit = false;
        while (i < text.size() && (IsWordLetter(text[i]) || IsDigit(text[i]))) {
            digit = digit || IsDigit(text[i]);
            ++i;
        }
        if (!digit) {
            words.push_back({start, i - start});
        }
    }
    return words;
}

std::optional<WordSpan> WordAt(std::u16string_view text, std::size_t position) {
    for (const WordSpan& word : SplitWords(text)) {
        if (position >= word.start && position <= word.start + word.length) {
            return word;
        }
    }
    return std::nullopt;
}

} // namespace editor
