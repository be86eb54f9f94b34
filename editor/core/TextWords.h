#pragma once
// The words of a description or a choice, for the spell check: runs of letters, Polish ones included,
// in UTF-16 positions as the form's fields count them. A run that holds a digit is no word ("krok12").

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace editor {

struct WordSpan {
    std::size_t start = 0;
    std::size_t length = 0;
    bool operator==(const WordSpan&) const = default;
};

bool IsWordLetter(char16_t c);
std::vector<WordSpan> SplitWords(std::u16string_view text);
// The word that holds `position` or ends there (the cursor just after it), if any.
std::optional<WordSpan> WordAt(std::u16string_view text, std::size_t position);

} // namespace editor
