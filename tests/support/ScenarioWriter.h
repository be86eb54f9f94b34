#pragma once
// Writes scenario files byte for byte from the record layouts: the step file (.Kro, 516-byte records)
// and the type list (.lis, 22-byte records), for the tests.
// Kept apart from the player's decoder on purpose, so that a wrong offset in either one shows up.

#include "tests/support/Files.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fixtures {

using KrokBytes = std::array<std::uint8_t, 516>;
using LisBytes = std::array<std::uint8_t, 22>;

// One step as an author writes it. Texts are UTF-8 and are stored in code page 1250.
struct Step {
    std::string nazwa;
    std::array<std::string, 4> wybory;
    std::string opis;
    std::string bmp;
    std::string wav;
    std::array<std::int32_t, 4> targets{};
    std::uint8_t typ = 1;
};

// UTF-8 to code page 1250; throws std::invalid_argument for a character the code page lacks.
std::string Utf8ToCp1250(std::string_view utf8);

KrokBytes EncodeKrok(const Step& step);
LisBytes EncodeLis(std::uint8_t typ, std::string_view wpis = {});

// Byte offsets of the step record's fields, as the layout table gives them.
namespace offset {
inline constexpr std::size_t Nazwa = 0;
inline constexpr std::size_t Wybor1 = 21;
inline constexpr std::size_t Wybor2 = 67;
inline constexpr std::size_t Wybor3 = 113;
inline constexpr std::size_t Wybor4 = 159;
inline constexpr std::size_t Opis = 205;
inline constexpr std::size_t Bmp = 456;
inline constexpr std::size_t Wav = 477;
inline constexpr std::size_t Filler = 498;
inline constexpr std::size_t Targets = 500;
inline constexpr std::size_t Typ = 21; // in the type-list record
} // namespace offset

// Writes the step file `kro` and the type list beside it (same name, extension ".lis").
void WriteScenario(const std::filesystem::path& kro, const std::vector<Step>& steps);

// Writes raw records, for tests that need bytes no Step can express.
void WriteKroRecords(const std::filesystem::path& kro, const std::vector<KrokBytes>& records);
void WriteLisRecords(const std::filesystem::path& lis, const std::vector<LisBytes>& records);

} // namespace fixtures
