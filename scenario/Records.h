#pragma once
// Byte layouts of the two scenario record files. Both are headerless arrays of fixed-size records;
// integers are little-endian and texts are length-prefixed code page 1250 strings.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace scenario {

inline constexpr std::size_t KrokRecSize = 516;
inline constexpr std::size_t LisRecSize = 22;

// A short string of at most `max` characters occupies max + 1 bytes: the length byte, then the text.
struct ShortStringField {
    std::size_t offset;
    std::size_t max;
};

namespace krok {
inline constexpr ShortStringField Nazwa{0, 20};
inline constexpr ShortStringField Wybor1{21, 45};
inline constexpr ShortStringField Wybor2{67, 45};
inline constexpr ShortStringField Wybor3{113, 45};
inline constexpr ShortStringField Wybor4{159, 45};
inline constexpr ShortStringField Opis{205, 250};
inline constexpr ShortStringField Bmp{456, 20};
inline constexpr ShortStringField Wav{477, 20};
// Bytes 498 and 499 are filler that aligns the integers.
inline constexpr std::size_t Krok_Wybrany1 = 500;
inline constexpr std::size_t Krok_Wybrany2 = 504;
inline constexpr std::size_t Krok_Wybrany3 = 508;
inline constexpr std::size_t Krok_Wybrany4 = 512;
static_assert(Wav.offset + Wav.max + 1 + 2 == Krok_Wybrany1);
static_assert(Krok_Wybrany4 + 4 == KrokRecSize);
} // namespace krok

// One raw step record, exactly as it lies in the step file.
struct TKrokRec {
    std::array<std::uint8_t, KrokRecSize> bytes{};
};
static_assert(sizeof(TKrokRec) == KrokRecSize);

// One type-list record: an author's list entry the player never interprets, then the step type.
struct TLisRec {
    std::array<std::uint8_t, 21> Wpis{};
    std::uint8_t Typ = 0;
};

TLisRec DecodeLisRec(std::span<const std::uint8_t, LisRecSize> bytes);

// The raw characters of a short string, its length byte clamped to the field's maximum.
std::string ReadShortString(std::span<const std::uint8_t, KrokRecSize> record, ShortStringField field);

std::int32_t ReadInt32LE(std::span<const std::uint8_t, KrokRecSize> record, std::size_t offset);

// The writing mirrors of the three functions above. WriteShortString stores the length byte and the
// characters and zeroes the rest of the field; it throws std::length_error for a text longer than the field.
std::array<std::uint8_t, LisRecSize> EncodeLisRec(const TLisRec& rec);
void WriteShortString(std::span<std::uint8_t, KrokRecSize> record, ShortStringField field,
                      std::string_view text);
void WriteInt32LE(std::span<std::uint8_t, KrokRecSize> record, std::size_t offset, std::int32_t value);

} // namespace scenario
