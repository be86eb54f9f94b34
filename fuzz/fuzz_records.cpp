// Decodes arbitrary bytes as a step record and a type-list record.
#include "scenario/Records.h"
#include "scenario/StepReader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    scenario::TKrokRec rec;
    std::copy_n(data, std::min(size, rec.bytes.size()), rec.bytes.begin());
    scenario::TKrok step;
    scenario::CopyStep(rec, step);
    // Every text stays within its field's limit, counted in characters (one per byte of code page 1250).
    const auto characters = [](const std::string& utf8) {
        return std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; });
    };
    if (characters(step.Nazwa) > 20 || characters(step.Wybor1) > 45 || characters(step.Opis) > 250 ||
        characters(step.Bmp) > 20 || characters(step.Wav) > 20) {
        __builtin_trap();
    }
    std::array<std::uint8_t, scenario::LisRecSize> lis{};
    if (size > rec.bytes.size()) {
        std::copy_n(data + rec.bytes.size(), std::min(size - rec.bytes.size(), lis.size()), lis.begin());
    }
    const scenario::TLisRec decoded = scenario::DecodeLisRec(lis);
    if (decoded.Typ != lis[21]) {
        __builtin_trap();
    }
    return 0;
}
