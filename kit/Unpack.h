#pragma once
// Unpacking: a scenario's records written back as story source (kit/Source.h), so that building the
// source gives every record the player reads with the same texts (as the player shows them), targets and
// type. Bytes the player never reads (after a text's length, the filler, the type list's entries) are not
// kept; a text whose stored length exceeds its field is written clamped, with a comment saying so.

#include "kit/ScenarioInput.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kit {

void Unpack(ScenarioInput& input, const std::string& scenarioName, std::ostream& out);

// Where a TEXT stands: a choice's text ends at its last "->", a step's name follows its number and label.
enum class TextUse { Plain, Choice, Name };

// A TEXT of the source that reads back as exactly these code page 1250 bytes.
std::string SourceText(std::string_view cp1250, TextUse use = TextUse::Plain);

// The same for a UTF-8 text, the one definition of how a TEXT is written: a character code page 1250
// lacks is written as it is (the parser then reports it), never dropped.
std::string SourceTextUtf8(std::string_view utf8, TextUse use = TextUse::Plain);

// The TEXTs of a description's "opis" lines: wrapped near `width` characters, only at single spaces, each
// quoted when it needs it, so that reading them back (each trimmed, joined with one space) gives `utf8`.
// None for an empty description.
std::vector<std::string> DescriptionTexts(std::string_view utf8, std::size_t width);

} // namespace kit
