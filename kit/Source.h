#pragma once
// The story source: the readable text an author writes, compiled into the records of a scenario.
//
//   scenariusz NAME               the scenario's file name (NAME.Kro, NAME.lis); default: the source's
//   krok [N] [@LABEL] [NAZWA]     starts a step: record N, or the record after the previous step (the
//                                 first step is record 1, where play begins); @LABEL names it for targets
//   typ T                         0-255, or a type's name (Normalny, Koniec, Wybory1, Wybory2, Wybory3)
//   obraz NAME, dzwiek NAME       the picture in Obrazki/ and the sound in Dzwieki/
//   opis TEXT                     the description; each further "opis" line adds a space and its text
//   wybor K TEXT -> TARGET        choice K (1-4) and the record it leads to: a number or @LABEL
//
// A TEXT is taken as written, trimmed; one that starts with " is quoted, with \" \\ and \xHH (the code
// page 1250 byte HH) inside. Lines starting with # are comments. See docs/authoring.md.

#include "kit/Findings.h"
#include "scenario/StepRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace kit {

struct CompiledStory {
    std::string scenarioName;                  // empty when the source does not name it
    std::vector<scenario::StepRecord> records; // record n is records[n]
    std::vector<int> lines;                    // the source line of each record's "krok", 0 for none
};

struct ParseResult {
    CompiledStory story;
    // Every mistake found, in line order, each an error about a line of `fileName`; the story is usable
    // only when this is empty.
    std::vector<Finding> errors;
};

// At most this many mistakes are reported; parsing stops after them.
inline constexpr std::size_t MaxErrors = 50;

ParseResult ParseStory(std::string_view text, const std::string& fileName);

// True for a scenario name that pairs with its own type list: not empty, no "/", no ".".
bool IsScenarioName(std::string_view name);

} // namespace kit
