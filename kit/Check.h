#pragma once
// `check`: everything a player would meet in a scenario, found before play. One pass over the files keeps
// a few dozen bytes a record (the graph and the step's name); the findings are then reported in record
// order, each record's together.

#include "kit/Findings.h"
#include "kit/Graph.h"
#include "kit/MediaProbe.h"
#include "kit/ScenarioInput.h"

#include <string_view>

namespace kit {

struct CheckSummary {
    std::int64_t errors = 0;
    std::int64_t warnings = 0;
};

// `media` may be null: pictures and sounds are then not looked at. `graph`, when given, receives the graph
// the check walked.
CheckSummary CheckScenario(ScenarioInput& input, MediaProbe* media, FindingSink& sink,
                           StoryGraph* graph = nullptr);

// `check` of a story source held in memory: its mistakes when it has any, otherwise the scenario it builds
// into beside `storyPath`, with the media found there. `graph`, when given, receives the story's graph
// (left empty for a source with mistakes).
CheckSummary CheckStorySource(std::string_view text, const std::string& storyPath, MediaProbe* media,
                              FindingSink& sink, StoryGraph* graph = nullptr);

} // namespace kit
