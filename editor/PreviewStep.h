#pragma once
// A step of the story being edited as the player would get it from a build: its record, and the buttons
// open on it where the step's type alone decides them.

#include "editor/core/StepView.h"
#include "scenario/StepRecord.h"

#include <optional>

namespace editor {

// The step's record as build writes it, but never refused: a character code page 1250 lacks becomes "?",
// and a text longer than its field is cut there, as the player cuts it.
scenario::StepRecord RecordOf(const StepView& step);

// The buttons open on the step when play reaches it: button 1 on step 1, as play starts; none on an
// ending; what types 0-5 open; nullopt for a type that carries the buttons over, which only the walk over
// the story knows (ButtonSearch).
std::optional<int> OpenByType(const StepView& step);

} // namespace editor
