#include "tests/support/ScenarioWriter.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace fixtures {

namespace {

// The non-ASCII characters of code page 1250 that scenario texts use, by code point.
const std::map<char32_t, std::uint8_t>& Cp1250Encoding() {
    static const std::map<char32_t, std::uint8_t> table = {
        {U'Ą', 0xA5}, {U'ą', 0xB9}, {U'Ć', 0xC6}, {U'ć', 0xE6}, {U'Ę', 0xCA}, {U'ę', 0xEA},
        {U'Ł', 0xA3}, {U'ł', 0xB3}, {U'Ń', 0xD1}, {U'ń', 0xF1}, {U'Ó', 0xD3}, {U'ó', 0xF3},
        {U'Ś', 0x8C}, {U'ś', 0x9C}, {U'Ź', 0x8F}, {U'ź', 0x9F}, {U'Ż', 0xAF}, {U'ż', 0xBF},
        {U'€', 0x80}, {U'„', 0x84}, {U'”', 0x94}, {U'…', 0x85}, {U'–', 0x96}, {U'—', 0x97},
        {U'«', 0xAB}, {U'»', 0xBB}, {U'§', 0xA7}, {U'°', 0xB0}, {U'é', 0xE9}, {U'ü', 0xFC},
        {U'ö', 0xF6}, {U'ä', 0xE4}, {U'č', 0xE8}, {U'š', 0x9A}, {U'ž', 0x9E}, {U'ř', 0xF8},
    };
    return table;
}

char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s.at(k)); };
    const unsigned char b = byte(i);
    if (b < 0x80) {
        i += 1;
        return b;
    }
    if ((b & 0xE0) == 0xC0) {
        const char32_t c = (char32_t(b & 0x1F) << 6) | (byte(i + 1) & 0x3F);
        i += 2;
        return c;
    }
    if ((b & 0xF0) == 0xE0) {
        const char32_t c =
            (char32_t(b & 0x0F) << 12) | (char32_t(byte(i + 1) & 0x3F) << 6) | (byte(i + 2) & 0x3F);
        i += 3;
        return c;
    }
    throw std::invalid_argument("Utf8ToCp1250: unsupported UTF-8 sequence");
}

void PutShortString(KrokBytes& rec, std::size_t at, std::size_t max, const std::string& utf8) {
    const std::string bytes = Utf8ToCp1250(utf8);
    if (bytes.size() > max) {
        throw std::invalid_argument("text longer than its field: " + utf8);
    }
    rec[at] = static_cast<std::uint8_t>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), rec.begin() + static_cast<std::ptrdiff_t>(at + 1));
}

void PutInt32(KrokBytes& rec, std::size_t at, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (std::size_t k = 0; k < 4; ++k) {
        rec[at + k] = static_cast<std::uint8_t>(u >> (8 * k));
    }
}

template <std::size_t N>
void WriteRecords(const std::filesystem::path& path,
                  const std::vector<std::array<std::uint8_t, N>>& records) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(records.size() * N);
    for (const auto& r : records) {
        bytes.insert(bytes.end(), r.begin(), r.end());
    }
    WriteBytes(path, bytes);
}

} // namespace

std::string Utf8ToCp1250(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = NextCodePoint(utf8, i);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        const auto& table = Cp1250Encoding();
        const auto found = table.find(c);
        if (found == table.end()) {
            throw std::invalid_argument("Utf8ToCp1250: character outside the code page");
        }
        out += static_cast<char>(found->second);
    }
    return out;
}

KrokBytes EncodeKrok(const Step& step) {
    KrokBytes rec{};
    PutShortString(rec, offset::Nazwa, 20, step.nazwa);
    PutShortString(rec, offset::Wybor1, 45, step.wybory[0]);
    PutShortString(rec, offset::Wybor2, 45, step.wybory[1]);
    PutShortString(rec, offset::Wybor3, 45, step.wybory[2]);
    PutShortString(rec, offset::Wybor4, 45, step.wybory[3]);
    PutShortString(rec, offset::Opis, 250, step.opis);
    PutShortString(rec, offset::Bmp, 20, step.bmp);
    PutShortString(rec, offset::Wav, 20, step.wav);
    for (std::size_t k = 0; k < 4; ++k) {
        PutInt32(rec, offset::Targets + 4 * k, step.targets[k]);
    }
    return rec;
}

LisBytes EncodeLis(std::uint8_t typ, std::string_view wpis) {
    LisBytes rec{};
    const std::size_t n = std::min<std::size_t>(wpis.size(), 21);
    std::copy_n(wpis.begin(), n, rec.begin());
    rec[offset::Typ] = typ;
    return rec;
}

void WriteScenario(const std::filesystem::path& kro, const std::vector<Step>& steps) {
    std::vector<KrokBytes> kroks;
    std::vector<LisBytes> lises;
    for (const Step& s : steps) {
        kroks.push_back(EncodeKrok(s));
        lises.push_back(EncodeLis(s.typ, Utf8ToCp1250(s.nazwa)));
    }
    WriteKroRecords(kro, kroks);
    auto lis = kro;
    lis.replace_extension(".lis");
    WriteLisRecords(lis, lises);
}

void WriteKroRecords(const std::filesystem::path& kro, const std::vector<KrokBytes>& records) {
    WriteRecords(kro, records);
}

void WriteLisRecords(const std::filesystem::path& lis, const std::vector<LisBytes>& records) {
    WriteRecords(lis, records);
}

} // namespace fixtures
