#pragma once
// What `check` keeps of a scenario after its one pass over the files, and how it reports from that: shared by
// the check of a scenario and the check kept between edits of a story source.

#include "kit/Check.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kit {

// What the report needs of a record once the pass has moved on.
struct Local {
    std::array<char, 20> name{};
    std::uint8_t nameLength = 0;
    std::uint8_t choiceText = 0; // bit k-1: choice k has a text
    std::uint8_t full = 0;       // bit i: text field i fills its field
    std::uint8_t over = 0;       // bit i: its stored length exceeds the field
};

// The media a record names: index + 1 into the media results, 0 for none. Kept only when media are looked at.
struct MediaIds {
    std::uint32_t picture = 0;
    std::uint32_t sound = 0;
};

struct MediaResults {
    std::unordered_map<std::string, std::uint32_t> pictures;
    std::unordered_map<std::string, std::uint32_t> sounds;
    std::vector<std::optional<MediaProblem>> problems;

    std::uint32_t Look(std::unordered_map<std::string, std::uint32_t>& seen, const std::string& name,
                       const auto& probe) {
        if (name.empty()) {
            return 0;
        }
        const auto found = seen.find(name);
        if (found != seen.end()) {
            return found->second;
        }
        problems.push_back(probe());
        const auto id = static_cast<std::uint32_t>(problems.size());
        seen.emplace(name, id);
        return id;
    }
};

// What the pass over the records keeps for the report.
struct Pass {
    std::int64_t records = 0;
    std::int64_t lisRecords = 0;
    std::int64_t tailBytes = 0;
    StoryGraph graph;
    std::vector<Local> locals;
    std::vector<MediaIds> mediaIds; // empty when media are not looked at
    MediaResults media;

    std::string_view Name(std::int64_t r) const {
        const Local& local = locals[static_cast<std::size_t>(r)];
        return {local.name.data(), local.nameLength};
    }
};

Local ReadLocal(KrokSpan krok);

// The one pass over the files: the graph, what the report needs of each record, and each picture and
// sound looked at once.
Pass ReadScenario(ScenarioInput& input, MediaProbe* media);

// The findings in record order, each record's together.
CheckSummary ReportFindings(const Pass& pass, const std::string& file, FindingSink& sink);

} // namespace kit
