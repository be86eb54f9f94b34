#pragma once
// `map`: the story as a graph in the DOT language. A node a step (record number, name, the first words of
// its description), an edge a choice a player can click (its number and text); the start, the endings,
// steps nobody reaches and traps are marked. Laying it out is left to Graphviz (RunDot).

#include "kit/ScenarioInput.h"

#include <ostream>
#include <string>

namespace kit {

void WriteDot(ScenarioInput& input, std::ostream& out);

// Lays out DOT with Graphviz's `dot` program into `format` (svg, png) and returns what it printed.
// Throws std::runtime_error when `dot` is missing or fails.
void RunDot(const std::string& dotFile, const std::string& format, const std::string& outputFile,
            bool replace);

} // namespace kit
