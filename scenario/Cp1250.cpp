#include "scenario/Cp1250.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace scenario {

// clang-format off
const std::array<char16_t, 128> Cp1250High = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 0x98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // 0xA8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // 0xB8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // 0xC8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // 0xD8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // 0xE8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // 0xF8
};
// clang-format on

char16_t Cp1250ToUnicode(unsigned char byte) {
    return byte < 0x80 ? char16_t{byte} : Cp1250High[byte - 0x80];
}

std::string Cp1250ToUtf8(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const char16_t u = Cp1250ToUnicode(static_cast<unsigned char>(c));
        if (u < 0x80) {
            utf8 += static_cast<char>(u);
        } else if (u < 0x800) {
            utf8 += static_cast<char>(0xC0 | (u >> 6));
            utf8 += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (u >> 12));
            utf8 += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return utf8;
}

namespace {

constexpr char32_t NotUtf8 = 0xFFFD;

// The next code point of `s` at `i`, advancing `i`; NotUtf8 for a malformed, overlong or surrogate sequence.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = at(i++);
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return NotUtf8;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (at(i) & 0xC0) != 0x80) {
            return NotUtf8;
        }
        c = c << 6 | (at(i++) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return NotUtf8;
    }
    return c;
}

// The inverse of the decoding table: the byte of each code point above ASCII, 0 where there is none.
int EncodeHigh(char32_t c) {
    static const auto table = [] {
        std::array<std::pair<char16_t, unsigned char>, 128> sorted{};
        for (std::size_t b = 0; b < 128; ++b) {
            sorted[b] = {Cp1250High[b], static_cast<unsigned char>(0x80 + b)};
        }
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }();
    if (c > 0xFFFF) {
        return 0;
    }
    const auto found = std::lower_bound(table.begin(), table.end(),
                                        std::pair<char16_t, unsigned char>{static_cast<char16_t>(c), 0},
                                        [](const auto& a, const auto& b) { return a.first < b.first; });
    return found != table.end() && found->first == c ? found->second : 0;
}

std::string Describe(char32_t character, std::size_t position) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
    return std::string(character == NotUtf8 ? "not UTF-8" : code) + " at character " +
           std::to_string(position + 1) + " has no code page 1250 byte";
}

} // namespace

Cp1250Error::Cp1250Error(char32_t character, std::size_t position)
    : std::runtime_error(Describe(character, position)), character_(character), position_(position) {}

std::string Utf8ToCp1250(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = NextCodePoint(utf8, i);
        if (c < 0x80) {
            bytes += static_cast<char>(c);
            continue;
        }
        const int byte = c == NotUtf8 ? 0 : EncodeHigh(c);
        if (byte == 0) {
            throw Cp1250Error(c, bytes.size());
        }
        bytes += static_cast<char>(byte);
    }
    return bytes;
}

} // namespace scenario
