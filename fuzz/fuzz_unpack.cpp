// Unpacks a fuzzed scenario into story source in memory and builds it again: every record must come back
// as the player reads it (texts clamped to their fields, the four targets, the type), with no error.
// Input as for fuzz_scenario: two bytes giving the step file's length in units of 4 bytes, the step file,
// then the type list.
#include "kit/Source.h"
#include "kit/Unpack.h"
#include "scenario/StepRecord.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::size_t split = std::min<std::size_t>(size - 2, (std::size_t{data[0]} << 8 | data[1]) * 4);
    const std::uint8_t* kro = data + 2;
    const std::uint8_t* lis = kro + split;
    const std::size_t lisSize = size - 2 - split;

    std::vector<scenario::TKrokRec> records(split / scenario::KrokRecSize);
    std::vector<std::uint8_t> types(lisSize / scenario::LisRecSize);
    for (std::size_t r = 0; r < records.size(); ++r) {
        std::copy_n(kro + r * scenario::KrokRecSize, scenario::KrokRecSize, records[r].bytes.begin());
    }
    for (std::size_t r = 0; r < types.size(); ++r) {
        types[r] = lis[r * scenario::LisRecSize + scenario::LisRecSize - 1];
    }
    std::vector<scenario::StepRecord> expected;
    for (std::size_t r = 0; r < records.size(); ++r) {
        expected.push_back(scenario::DecodeStep(records[r].bytes, r < types.size() ? types[r] : 0));
    }

    kit::MemoryInput input("f.Kro", ".", std::move(records), std::move(types));
    std::ostringstream source;
    kit::Unpack(input, "f", source);
    const kit::ParseResult rebuilt = kit::ParseStory(source.str(), "f.txt");
    if (expected.empty()) {
        // Nothing to unpack: the source has no step and the parser says so.
        return 0;
    }
    if (!rebuilt.errors.empty() || rebuilt.story.records != expected) {
        std::abort();
    }
    return 0;
}
