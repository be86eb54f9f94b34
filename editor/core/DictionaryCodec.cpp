#include "editor/core/DictionaryCodec.h"

#include <array>
#include <stdexcept>

namespace editor {

namespace {

// The code points of ISO-8859-2's bytes 0xA0..0xFF; below 0xA0 a byte is its own code point.
constexpr std::array<char16_t, 96> Latin2High = {
    0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7, 0x00A8, 0x0160, 0x015E, 0x0164,
    0x0179, 0x00AD, 0x017D, 0x017B, 0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7,
    0x00B8, 0x0161, 0x015F, 0x0165, 0x017A, 0x02DD, 0x017E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102,
    0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170,
    0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3,
    0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

std::optional<char> Latin2Byte(char16_t c) {
    if (c < 0xA0) {
        return static_cast<char>(c);
    }
    for (std::size_t i = 0; i < Latin2High.size(); ++i) {
        if (Latin2High[i] == c) {
            return static_cast<char>(0xA0 + i);
        }
    }
    return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const int extra = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= bytes.size()) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]) & 0x3F);
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

} // namespace

DictionaryEncoding EncodingByName(std::string_view name) {
    if (name == "UTF-8" || name == "utf-8") {
        return DictionaryEncoding::Utf8;
    }
    if (name == "ISO8859-2" || name == "ISO-8859-2" || name == "iso8859-2" || name == "iso-8859-2") {
        return DictionaryEncoding::Iso8859_2;
    }
    throw std::runtime_error("słownik w nieobsługiwanym kodowaniu " + std::string(name));
}

std::optional<std::string> ToDictionary(std::u16string_view word, DictionaryEncoding encoding) {
    std::string out;
    if (encoding == DictionaryEncoding::Iso8859_2) {
        for (char16_t c : word) {
            const auto byte = Latin2Byte(c);
            if (!byte) {
                return std::nullopt;
            }
            out += *byte;
        }
        return out;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        char32_t c = word[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < word.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (word[++i] - 0xDC00);
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::u16string FromDictionary(std::string_view bytes, DictionaryEncoding encoding) {
    if (encoding == DictionaryEncoding::Utf8) {
        return Utf8ToUtf16(bytes);
    }
    std::u16string out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        out += byte < 0xA0 ? static_cast<char16_t>(byte) : Latin2High[byte - 0xA0];
    }
    return out;
}

} // namespace editor
