#pragma once
// The scenario reader: one set of module-level state for the running game (both files, the current
// record index, the last records read) and the free operations the game window drives it with.
//
// Every file operation is checked at once; a failure throws InOutError and ends the operation there.
// What was already done stays done: a file opened before the failure stays open, NrKroku keeps its new
// value, and AktKrok keeps the previous step when the failure comes before CopyStep.

#include "scenario/Records.h"
#include "scenario/TKrok.h"

#include <cstdint>
#include <memory>
#include <string>

namespace scenario {

// The current step. The game window creates it; every successful read overwrites it in place.
extern std::unique_ptr<TKrok> AktKrok;

// Record index of the current step.
extern std::int32_t NrKroku;

// The last type-list record read; its Typ is the current step type.
extern TLisRec AktLis;

// Opens the step file at `path` and its type list (see TypeListName), then reads record 1 of both.
void OpenScenario(const std::string& path);

// Reads record NrKroku of both files into AktKrok and AktLis.
void GoToStep();

// Closes the step file, then the type list.
void CloseScenario();

// Copies the last step record read into AktKrok.
void CopyStep();

// Copies one step record into a step object, clamping each text to its field's limit.
void CopyStep(const TKrokRec& record, TKrok& step);

// The names the files were last opened under.
const std::string& StepFileName();
const std::string& TypeListFileName();

} // namespace scenario
