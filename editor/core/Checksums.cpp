#include "editor/core/Checksums.h"

#include <array>

namespace editor {

namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[i] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> CrcTable = MakeCrcTable();

} // namespace

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc) {
    crc = ~crc;
    for (const char ch : bytes) {
        crc = CrcTable[(crc ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

Hash64& Hash64::Add(std::string_view bytes) {
    for (const char ch : bytes) {
        value_ = (value_ ^ static_cast<unsigned char>(ch)) * 0x100000001b3ULL;
    }
    return *this;
}

} // namespace editor
