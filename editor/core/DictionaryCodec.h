#pragma once
// The character set of a Hunspell dictionary (its affix file's SET line): Debian's Polish one is
// ISO-8859-2, so the words the form holds in UTF-16 are converted both ways, never passed as UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace editor {

enum class DictionaryEncoding { Utf8, Iso8859_2 };

// The encoding a SET name stands for; throws std::runtime_error (a Polish message) for another one.
DictionaryEncoding EncodingByName(std::string_view name);
// None when the word holds a character the dictionary's set lacks: no word of the dictionary has it.
std::optional<std::string> ToDictionary(std::u16string_view word, DictionaryEncoding encoding);
std::u16string FromDictionary(std::string_view bytes, DictionaryEncoding encoding);

} // namespace editor
