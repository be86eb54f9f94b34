#include "editor/ButtonSearch.h"

#include "kit/Graph.h"
#include "scenario/Records.h"
#include "scenario/StepRecord.h"

#include <limits>
#include <map>
#include <string>

namespace editor {

namespace {

void PutInt32LE(scenario::TKrokRec& record, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        record.bytes[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

} // namespace

std::optional<int> ButtonSearch::MostOpen(const StoryDocument& document, std::int64_t number) {
    if (!walked_) {
        Walk(document);
        walked_ = true;
    }
    if (number < 0 || number >= static_cast<std::int64_t>(open_.size()) ||
        open_[static_cast<std::size_t>(number)] < 0) {
        return std::nullopt;
    }
    return open_[static_cast<std::size_t>(number)];
}

void ButtonSearch::Walk(const StoryDocument& document) {
    open_.clear();
    const std::size_t steps = document.StepCount();
    // The records 0 (which build writes blank when the source leaves it out) to the highest number, each
    // step's once; anything else does not build, and nothing is known.
    std::vector<std::optional<std::size_t>> byNumber(steps + 1);
    std::map<std::string, std::int64_t> labels;
    std::int64_t highest = 0;
    for (std::size_t s = 0; s < steps; ++s) {
        const StepView& step = document.Step(s);
        if (step.number < 0 || step.number > static_cast<std::int64_t>(steps) ||
            byNumber[static_cast<std::size_t>(step.number)]) {
            return;
        }
        byNumber[static_cast<std::size_t>(step.number)] = s;
        highest = std::max(highest, step.number);
        if (!step.label.empty()) {
            labels.emplace(step.label, step.number);
        }
    }
    for (std::int64_t r = 1; r <= highest; ++r) {
        if (!byNumber[static_cast<std::size_t>(r)]) {
            return;
        }
    }

    kit::StoryGraph graph;
    graph.Reserve(highest + 1);
    for (std::int64_t r = 0; r <= highest; ++r) {
        // The walk reads a record's targets alone.
        scenario::TKrokRec record{};
        std::uint8_t typ = 0;
        if (const auto s = byNumber[static_cast<std::size_t>(r)]) {
            const StepView& step = document.Step(*s);
            typ = static_cast<std::uint8_t>(step.typ.value_or(0));
            for (std::size_t k = 0; k < 4; ++k) {
                std::int64_t target = 0;
                if (const auto& t = step.target[k]) {
                    if (t->kind == ChoiceTarget::Kind::Number) {
                        target = t->number;
                    } else if (const auto found = labels.find(t->label); found != labels.end()) {
                        target = found->second;
                    }
                }
                if (target < std::numeric_limits<std::int32_t>::min() ||
                    target > std::numeric_limits<std::int32_t>::max()) {
                    target = 0;
                }
                PutInt32LE(record, scenario::TargetOffsets[k], static_cast<std::int32_t>(target));
            }
        }
        graph.Add(kit::KrokSpan(record.bytes), typ);
    }
    graph.Analyse();
    open_.assign(static_cast<std::size_t>(graph.Records()), -1);
    for (std::int64_t r = 0; r < graph.Records(); ++r) {
        if (graph.Reachable(r)) {
            open_[static_cast<std::size_t>(r)] = static_cast<std::int8_t>(graph.MostOpen(r));
        }
    }
}

} // namespace editor
