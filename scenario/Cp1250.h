#pragma once
// Windows code page 1250 (Central European), the character set of every scenario text.

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scenario {

// Unicode code points of the bytes 0x80..0xFF; bytes below 0x80 are ASCII. The five bytes the code page
// leaves undefined map to the C1 control of the same value.
extern const std::array<char16_t, 128> Cp1250High;

char16_t Cp1250ToUnicode(unsigned char byte);

// Decodes code page 1250 bytes into UTF-8; every byte yields exactly one character.
std::string Cp1250ToUtf8(std::string_view bytes);

// A text that code page 1250 cannot hold: `character` is the offending code point (U+FFFD for bytes
// that are not UTF-8) and `position` its index in characters, counted from 0.
class Cp1250Error : public std::runtime_error {
  public:
    Cp1250Error(char32_t character, std::size_t position);
    char32_t character() const noexcept { return character_; }
    std::size_t position() const noexcept { return position_; }

  private:
    char32_t character_;
    std::size_t position_;
};

// Encodes UTF-8 into code page 1250, one byte a character; never replaces a character it cannot encode
// but throws Cp1250Error for it.
std::string Utf8ToCp1250(std::string_view utf8);

} // namespace scenario
