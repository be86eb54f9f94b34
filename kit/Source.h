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
#include "scenario/Cp1250.h"
#include "scenario/StepRecord.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kit {

struct CompiledStory {
    std::string scenarioName;                  // empty when the source does not name it
    std::vector<scenario::StepRecord> records; // record n is records[n]
    std::vector<int> lines;                    // the source line of each record's "krok", 0 for none
};

// A choice's target as the source writes it: a record number, or a step's label.
struct WrittenTarget {
    std::int64_t number = 0;
    std::string label; // without '@'; empty for a number
    bool operator==(const WrittenTarget&) const = default;
};

// One step as the source writes it, for an editor that keeps the source as its author wrote it. Lines are
// 1-based, 0 for none. A field's line is the step's once its keyword is, even when its TEXT is wrong; the
// texts are UTF-8 with quotes and escapes undone, kept even when code page 1250 cannot hold them.
struct StepOutline {
    int line = 0;            // the "krok" line
    std::int64_t number = 0; // the record number, written or following the step before
    bool numberWritten = false;
    std::string label; // without '@', empty for none
    std::string name;
    std::optional<int> typ;
    int typLine = 0;
    std::string picture, sound;
    int obrazLine = 0, dzwiekLine = 0;
    std::string opis;
    std::vector<int> opisLines; // every "opis" line, in order
    std::array<std::string, 4> choice;
    std::array<int, 4> choiceLines{};
    std::array<std::optional<WrittenTarget>, 4> targets;
    // False when a statement of the step could not be read for its form (an unknown word, a broken quote,
    // a second "typ"...): the outline then misses what that line says. Mistakes of value (a character
    // outside the code page, a text too long, an unknown label, numbering) leave it true.
    bool whole = true;
};

struct ParseResult {
    CompiledStory story;
    // Every mistake found, in line order, each an error about a line of `fileName`; the story is usable
    // only when this is empty.
    std::vector<Finding> errors;
    // The steps in source order, as far as parsing went (also when there are mistakes).
    std::vector<StepOutline> outline;
};

// At most this many mistakes are reported; parsing stops after them.
inline constexpr std::size_t MaxErrors = 50;

// What the outline keeps of each step: everything, or, for a reader that wants no texts (a check), only
// where the step stands: its lines, number and label.
enum class OutlineTexts { Kept, Dropped };

ParseResult ParseStory(std::string_view text, const std::string& fileName,
                       OutlineTexts texts = OutlineTexts::Kept);

// Where a step stands in its story, for reading it again on its own.
struct StepPlace {
    int firstLine = 1;                                 // the line its text starts at
    std::int64_t previousNumber = 0;                   // the record of the step before it; 0 for none
    const std::map<std::string, std::int64_t>* labels; // every label of the story, and the record it names
};

// One step read on its own: `text` holds the lines from its "krok" line up to the next step's (comments and
// blank lines may come first). When the rest of the story has no mistakes and keeps the step's number and
// label, the mistakes are those ParseStory finds in the whole story, and story.records[0] is the step's
// record. nullopt when the lines hold anything but one step.
std::optional<ParseResult> ParseStep(std::string_view text, const std::string& fileName,
                                     const StepPlace& place);

// True for a scenario name that pairs with its own type list: not empty, no "/", no ".".
bool IsScenarioName(std::string_view name);

// What the toolkit says of a text that code page 1250 cannot hold, `before` characters preceding it in the
// field: "<what>: znak N (U+XXXX) jest spoza strony kodowej 1250".
std::string Cp1250Message(const std::string& what, const scenario::Cp1250Error& error,
                          std::size_t before = 0);

} // namespace kit
