#pragma once
// `check`: everything a player would meet in a scenario, found before play. One pass over the files keeps
// a few dozen bytes a record (the graph and the step's name); the findings are then reported in record
// order, each record's together.

#include "kit/Findings.h"
#include "kit/MediaProbe.h"
#include "kit/ScenarioInput.h"

namespace kit {

struct CheckSummary {
    std::int64_t errors = 0;
    std::int64_t warnings = 0;
};

// `media` may be null: pictures and sounds are then not looked at.
CheckSummary CheckScenario(ScenarioInput& input, MediaProbe* media, FindingSink& sink);

} // namespace kit
