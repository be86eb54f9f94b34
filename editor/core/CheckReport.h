#pragma once
// What one check of the story found: the findings as `przygoda-kit check` reports them, each with where
// it points, and the marks of every step.

#include "editor/core/StepMarks.h"
#include "kit/Findings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace editor {

struct CheckReport {
    // The document version checked: a report older than the document's edits is replaced by the next.
    std::uint64_t generation = 0;
    std::vector<kit::Finding> findings;
    // Each finding as the toolkit prints it, in the same order.
    std::vector<std::string> lines;
    StepMarks marks;
    std::int64_t errors = 0;
    std::int64_t warnings = 0;
};

} // namespace editor
