#pragma once
// The scenario writer, the mirror of the reader: writes step records and type-list records exactly as
// StepReader decodes them, to a step file and the type list the player pairs with it (TypeListName).
// Both files are written whole or not at all (AtomicFile); the type list is renamed into place first and
// the step file last, so that a step file never stands beside a missing or older type list of this build.

#include "scenario/AtomicFile.h"
#include "scenario/StepRecord.h"

#include <string>
#include <vector>

namespace scenario {

class ScenarioWriter {
  public:
    // Starts writing the scenario whose step file is `kroPath`. Without `replace`, an existing step file
    // or type list stops the writer at once with WriteError(EEXIST).
    ScenarioWriter(const std::string& kroPath, bool replace);

    // Appends the next record to both files. Throws std::length_error for a text longer than its field.
    void Add(const StepRecord& step);
    void Commit();

  private:
    bool replace_;
    AtomicFile kro_;
    AtomicFile lis_;
};

// Writes a whole scenario; record n is steps[n].
void WriteScenario(const std::string& kroPath, const std::vector<StepRecord>& steps, bool replace);

} // namespace scenario
