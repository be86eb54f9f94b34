#include "scenario/Records.h"

#include <algorithm>

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

} // namespace scenario
