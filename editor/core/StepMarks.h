#pragma once
// What the last check found about each step, for the step list and the map: where play starts, the
// endings, the traps, the steps nobody reaches and those with problems.

#include <cstdint>
#include <vector>

namespace editor {

enum StepMark : std::uint8_t {
    MarkStart = 1,
    MarkEnding = 2,
    MarkTrap = 4,
    MarkUnreachable = 8,
    MarkProblem = 16,
};

// Indexed by record number; a record past the end has no marks.
struct StepMarks {
    std::vector<std::uint8_t> byRecord;

    std::uint8_t Of(std::int64_t record) const {
        return record >= 0 && record < static_cast<std::int64_t>(byRecord.size())
                   ? byRecord[static_cast<std::size_t>(record)]
                   : 0;
    }
};

} // namespace editor
