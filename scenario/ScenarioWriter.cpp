#include "scenario/ScenarioWriter.h"

#include "scenario/TypeListName.h"

namespace scenario {

namespace {

const std::string& Absent(const std::string& path, bool replace) {
    RefuseExisting(path, replace);
    return path;
}

} // namespace

ScenarioWriter::ScenarioWriter(const std::string& kroPath, bool replace)
    : replace_(replace), kro_(Absent(kroPath, replace)), lis_(Absent(TypeListName(kroPath), replace)) {}

void ScenarioWriter::Add(const StepRecord& step) {
    const TKrokRec krok = EncodeStep(step);
    kro_.Write(krok.bytes);
    lis_.Write(EncodeLisRec(LisRecOf(step)));
}

void ScenarioWriter::Commit() {
    lis_.Commit(replace_);
    try {
        kro_.Commit(replace_);
    } catch (...) {
        // Without `replace` the type list was new: take it back rather than leave half a scenario.
        if (!replace_) {
            lis_.Uncommit();
        }
        throw;
    }
}

void WriteScenario(const std::string& kroPath, const std::vector<StepRecord>& steps, bool replace) {
    ScenarioWriter writer(kroPath, replace);
    for (const StepRecord& step : steps) {
        writer.Add(step);
    }
    writer.Commit();
}

} // namespace scenario
