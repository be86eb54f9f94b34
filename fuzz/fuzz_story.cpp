// Parses a fuzzed story source. Whatever the parser accepts must encode (no text longer than its field)
// and must come back unchanged through unpack and a second parse.
#include "kit/Source.h"
#include "kit/Unpack.h"
#include "scenario/StepRecord.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kit::ParseResult first = kit::ParseStory(text, "story.txt");
    if (!first.errors.empty()) {
        return 0;
    }
    std::vector<scenario::TKrokRec> records;
    std::vector<std::uint8_t> types;
    for (const scenario::StepRecord& step : first.story.records) {
        records.push_back(scenario::EncodeStep(step));
        types.push_back(step.Typ);
    }
    kit::MemoryInput input("f.Kro", ".", std::move(records), std::move(types));
    std::ostringstream source;
    kit::Unpack(input, "f", source);
    const kit::ParseResult second = kit::ParseStory(source.str(), "unpacked.txt");
    if (!second.errors.empty() || second.story.records != first.story.records) {
        std::abort();
    }
    return 0;
}
