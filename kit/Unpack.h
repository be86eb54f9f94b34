#pragma once
// Unpacking: a scenario's records written back as story source (kit/Source.h), so that building the
// source gives every record the player reads with the same texts (as the player shows them), targets and
// type. Bytes the player never reads (after a text's length, the filler, the type list's entries) are not
// kept; a text whose stored length exceeds its field is written clamped, with a comment saying so.

#include "kit/ScenarioInput.h"

#include <ostream>
#include <string>

namespace kit {

void Unpack(ScenarioInput& input, const std::string& scenarioName, std::ostream& out);

// Where a TEXT stands: a choice's text ends at its last "->", a step's name follows its number and label.
enum class TextUse { Plain, Choice, Name };

// A TEXT of the source that reads back as exactly these code page 1250 bytes.
std::string SourceText(std::string_view cp1250, TextUse use = TextUse::Plain);

} // namespace kit
