#include "scenario/Records.h"

#include <algorithm>
#include <stdexcept>

namespace scenario {

TLisRec DecodeLisRec(std::span<const std::uint8_t, LisRecSize> bytes) {
    TLisRec rec;
    std::copy_n(bytes.begin(), rec.Wpis.size(), rec.Wpis.begin());
    rec.Typ = bytes[21];
    return rec;
}

std::string ReadShortString(std::span<const std::uint8_t, KrokRecSize> record, ShortStringField field) {
    const std::size_t length = std::min<std::size_t>(record[field.offset], field.max);
    const auto* first = record.data() + field.offset + 1;
    return std::string(first, first + length);
}

std::int32_t ReadInt32LE(std::span<const std::uint8_t, KrokRecSize> record, std::size_t offset) {
    const std::uint32_t value = std::uint32_t{record[offset]} | std::uint32_t{record[offset + 1]} << 8 |
                                std::uint32_t{record[offset + 2]} << 16 |
                                std::uint32_t{record[offset + 3]} << 24;
    return static_cast<std::int32_t>(value);
}

std::array<std::uint8_t, LisRecSize> EncodeLisRec(const TLisRec& rec) {
    std::array<std::uint8_t, LisRecSize> bytes{};
    std::copy(rec.Wpis.begin(), rec.Wpis.end(), bytes.begin());
    bytes[21] = rec.Typ;
    return bytes;
}

void WriteShortString(std::span<std::uint8_t, KrokRecSize> record, ShortStringField field,
                      std::string_view text) {
    if (text.size() > field.max) {
        throw std::length_error("a text of " + std::to_string(text.size()) + " characters in a field of " +
                                std::to_string(field.max));
    }
    auto* first = record.data() + field.offset;
    std::fill_n(first, field.max + 1, std::uint8_t{0});
    first[0] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), first + 1);
}

void WriteInt32LE(std::span<std::uint8_t, KrokRecSize> record, std::size_t offset, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (std::size_t k = 0; k < 4; ++k) {
        record[offset + k] = static_cast<std::uint8_t>(u >> (8 * k));
    }
}

} // namespace scenario
