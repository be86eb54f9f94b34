#pragma once
// A step's place in the source: which of its lines holds which field, read from the toolkit parser's
// outline; and the lines the editor writes for a field, every TEXT written by the toolkit's own writer.

#include "editor/core/StepView.h"
#include "kit/Source.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace editor {

// In the order a new step writes its lines.
enum class Field : std::uint8_t { Krok, Typ, Obraz, Dzwiek, Opis, Wybor1, Wybor2, Wybor3, Wybor4 };

inline Field WyborField(int k) {
    return static_cast<Field>(static_cast<int>(Field::Wybor1) + k - 1);
}

struct FieldLine {
    Field field;
    std::uint32_t offset; // from the step's "krok" line
};

struct StepData {
    StepView view;
    bool numberWritten = false;
    std::vector<FieldLine> lines; // by offset, the "krok" line first
    bool stale = false;           // its lines do not read now: the view is the last good one
};

// The step an outline describes, its lines counted from `firstLine` (the 0-based line the parsed text
// started at).
StepData FromOutline(kit::StepOutline&& outline, std::size_t firstLine);

// Descriptions are wrapped so that an "opis" line stays near 100 columns.
inline constexpr std::size_t OpisWidth = 95;

// The lines of each field without their line end; `indent` goes first (a byte order mark and the
// blanks of the line they replace).
std::string KrokLine(std::string_view indent, const StepView& step, bool numberWritten);
std::string TypLine(std::string_view indent, int typ, bool asNumber);
std::string MediaLine(std::string_view indent, Field field, std::string_view utf8);
std::vector<std::string> OpisLines(std::string_view indent, std::string_view utf8);
std::string WyborLine(std::string_view indent, int k, std::string_view utf8, const ChoiceTarget& target);
// A whole step, for a new one; its "typ" line is written as a number when `typAsNumber`.
std::vector<std::string> NewStepLines(const StepView& step, bool numberWritten, bool typAsNumber);

// What a line starts with before its statement: a byte order mark and blanks.
std::string_view IndentOf(std::string_view line);
// What follows the keyword of a statement line, trimmed ("typ 4" -> "4").
std::string_view StatementRest(std::string_view line);
bool IsBlank(std::string_view line);
bool IsComment(std::string_view line);

} // namespace editor
