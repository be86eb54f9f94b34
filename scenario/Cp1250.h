#pragma once
// Windows code page 1250 (Central European), the character set of every scenario text.

#include <array>
#include <string>
#include <string_view>

namespace scenario {

// Unicode code points of the bytes 0x80..0xFF; bytes below 0x80 are ASCII. The five bytes the code page
// leaves undefined map to the C1 control of the same value.
extern const std::array<char16_t, 128> Cp1250High;

char16_t Cp1250ToUnicode(unsigned char byte);

// Decodes code page 1250 bytes into UTF-8; every byte yields exactly one character.
std::string Cp1250ToUtf8(std::string_view bytes);

} // namespace scenario
