#pragma once
// `map`: the story as a graph in the DOT language. A node a step (record number, name, the first words of
// its description), an edge a choice a player can click (its number and text); the start, the endings,
// steps nobody reaches and traps are marked, and so are the steps `check` finds problems in (a red border
// and their count; media are not looked at). `placed` adds the map's own layout (MapPlacer) for RunDot.

#include "kit/ScenarioInput.h"

#include <ostream>
#include <string>

namespace kit {

void WriteDot(ScenarioInput& input, std::ostream& out, bool placed = false);

// Draws placed DOT with Graphviz (`neato -n2`, which keeps the places) into `format` (svg, png) in
// `outputFile`. Throws std::runtime_error when `neato` is missing or fails.
void RunDot(const std::string& dotFile, const std::string& format, const std::string& outputFile,
            bool replace);

} // namespace kit
