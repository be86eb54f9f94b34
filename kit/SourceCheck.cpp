#include "kit/SourceCheck.h"

#include "kit/Build.h"
#include "kit/CheckPass.h"
#include "kit/Source.h"

#include <algorithm>
#include <map>
#include <vector>

namespace kit {

// The story as its last check without mistakes in the source read it, and the edits made since.
struct SourceCheck::Kept {
    Pass pass;
    std::string file;      // the scenario the findings name
    std::string folder;    // where its media are looked up
    std::string storyPath; // the source, named by its mistakes
    bool withMedia = false;
    std::uint64_t mediaVersion = 0; // the media probe's, when the answers kept were given

    // Each step in source order: its "krok" line (from 0), record and label.
    std::vector<std::size_t> krokLines;
    std::vector<std::int64_t> numbers;
    std::vector<std::string> labels;
    std::map<std::string, std::int64_t> labelled; // label -> record
    std::size_t lineCount = 0;

    // The edits since: all inside step `edited`, which has grown by `delta` lines; or not one step at all.
    std::optional<std::size_t> edited;
    std::ptrdiff_t delta = 0;
    bool scattered = false;

    std::size_t Begin(std::size_t s) const { return krokLines[s]; }
    std::size_t End(std::size_t s) const {
        const std::size_t end = s + 1 < krokLines.size() ? krokLines[s + 1] : lineCount;
        return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(end) + (edited == s ? delta : 0));
    }

    // The edits are now part of the story kept.
    void Settle() {
        const std::size_t s = *edited;
        for (std::size_t t = s + 1; t < krokLines.size(); ++t) {
            krokLines[t] = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(krokLines[t]) + delta);
        }
        lineCount = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(lineCount) + delta);
        edited.reset();
        delta = 0;
    }

    // Every picture and sound the story names looked at again, as a whole check would: a file added,
    // removed or rewritten since changes its findings.
    void LookAgain(MediaProbe& media) {
        media.NewCheck();
        const std::uint64_t version = media.Version();
        if (version != 0 && version == mediaVersion) {
            return;
        }
        for (const auto& [name, id] : pass.media.pictures) {
            pass.media.problems[id - 1] = media.Picture(folder, name);
        }
        for (const auto& [name, id] : pass.media.sounds) {
            pass.media.problems[id - 1] = media.Sound(folder, name);
        }
        mediaVersion = version;
    }
};

namespace {

CheckSummary ReportMistakes(const std::vector<Finding>& errors, FindingSink& sink) {
    // A source with mistakes cannot be checked as a story: its mistakes are the findings.
    for (const Finding& error : errors) {
        sink.Report(error);
    }
    sink.Finish();
    return CheckSummary{static_cast<std::int64_t>(errors.size()), 0};
}

std::size_t LineCount(std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
}

} // namespace

SourceCheck::SourceCheck() = default;
SourceCheck::~SourceCheck() = default;
SourceCheck::SourceCheck(SourceCheck&&) noexcept = default;
SourceCheck& SourceCheck::operator=(SourceCheck&&) noexcept = default;

CheckSummary SourceCheck::Whole(std::string_view text, const std::string& storyPath, MediaProbe* media,
                                FindingSink& sink) {
    kept_.reset();
    mistakes_ = true;
    auto kept = std::make_unique<Kept>();
    kept->folder = FolderOf(storyPath);
    kept->storyPath = storyPath;
    kept->withMedia = media != nullptr;
    kept->lineCount = LineCount(text);
    // Each stage's input is let go as soon as the next stage has what it needs: on a big story the parse,
    // the records and the report are tens of megabytes each, and the check's peak is their sum.
    std::unique_ptr<MemoryInput> input;
    {
        ParseResult parsed = ParseStory(text, storyPath, OutlineTexts::Dropped);
        if (!parsed.errors.empty()) {
            return ReportMistakes(parsed.errors, sink);
        }
        kept->krokLines.reserve(parsed.outline.size());
        kept->numbers.reserve(parsed.outline.size());
        kept->labels.reserve(parsed.outline.size());
        for (const StepOutline& step : parsed.outline) {
            kept->krokLines.push_back(static_cast<std::size_t>(step.line - 1));
            kept->numbers.push_back(step.number);
            kept->labels.push_back(step.label);
            if (!step.label.empty()) {
                kept->labelled.emplace(step.label, step.number);
            }
        }
        parsed.outline = {};
        input =
            CompiledInput(parsed.story, ScenarioPath(parsed.story, storyPath, kept->folder), kept->folder);
    }
    if (media != nullptr) {
        media->NewCheck();
        kept->mediaVersion = media->Version();
    }
    kept->pass = ReadScenario(*input, media);
    kept->file = input->Name();
    input.reset();
    kept_ = std::move(kept);
    mistakes_ = false;
    return ReportFindings(kept_->pass, kept_->file, sink);
}

void SourceCheck::Edited(std::size_t first, std::size_t removed, std::size_t inserted) {
    if (!kept_ || kept_->scattered) {
        return;
    }
    Kept& kept = *kept_;
    std::size_t s = 0;
    if (kept.edited) {
        s = *kept.edited;
    } else {
        // The step whose lines the edit starts in; lines before the first step belong to none.
        const auto after = std::upper_bound(kept.krokLines.begin(), kept.krokLines.end(), first);
        if (after == kept.krokLines.begin()) {
            kept.scattered = true;
            return;
        }
        s = static_cast<std::size_t>(after - kept.krokLines.begin()) - 1;
    }
    if (first < kept.Begin(s) || first + removed > kept.End(s)) {
        kept.scattered = true;
        return;
    }
    kept.edited = s;
    kept.delta += static_cast<std::ptrdiff_t>(inserted) - static_cast<std::ptrdiff_t>(removed);
}

std::optional<SourceCheck::Lines> SourceCheck::EditedStep() const {
    if (!kept_ || kept_->scattered || !kept_->edited) {
        return std::nullopt;
    }
    return Lines{kept_->Begin(*kept_->edited), kept_->End(*kept_->edited)};
}

std::optional<CheckSummary> SourceCheck::Step(std::string_view stepText, MediaProbe* media,
                                              FindingSink& sink) {
    const std::optional<Lines> lines = EditedStep();
    if (!lines || kept_->withMedia != (media != nullptr)) {
        return std::nullopt;
    }
    Kept& kept = *kept_;
    const std::size_t s = *kept.edited;
    const StepPlace place{static_cast<int>(lines->first) + 1, s > 0 ? kept.numbers[s - 1] : 0,
                          &kept.labelled};
    const std::optional<ParseResult> parsed = ParseStep(stepText, kept.storyPath, place);
    if (!parsed || parsed->outline[0].number != kept.numbers[s] ||
        parsed->outline[0].label != kept.labels[s]) {
        return std::nullopt;
    }
    if (!parsed->errors.empty()) {
        mistakes_ = true;
        return ReportMistakes(parsed->errors, sink);
    }
    // Record 0 decides whether build's placeholder is there, from all its bytes: checked whole.
    const std::int64_t r = kept.numbers[s];
    if (r == 0) {
        return std::nullopt;
    }
    const scenario::StepRecord& record = parsed->story.records[0];
    if (media != nullptr) {
        kept.LookAgain(*media);
        MediaResults& found = kept.pass.media;
        kept.pass.mediaIds[static_cast<std::size_t>(r)] = {
            found.Look(found.pictures, record.Bmp, [&] { return media->Picture(kept.folder, record.Bmp); }),
            found.Look(found.sounds, record.Wav, [&] { return media->Sound(kept.folder, record.Wav); })};
    }
    const scenario::TKrokRec bytes = scenario::EncodeStep(record);
    kept.pass.locals[static_cast<std::size_t>(r)] = ReadLocal(KrokSpan(bytes.bytes));
    // Another type or target changes the ways through the story: walked again, which takes a few
    // milliseconds where reading the whole source takes a hundred.
    StoryGraph& graph = kept.pass.graph;
    if (record.Typ != graph.Typ(r) || record.Krok_Wybrany != graph.Targets(r)) {
        graph.Replace(r, record.Krok_Wybrany, record.Typ);
        graph.Analyse();
    }
    kept.Settle();
    mistakes_ = false;
    return ReportFindings(kept.pass, kept.file, sink);
}

const StoryGraph* SourceCheck::Graph() const {
    return kept_ && !mistakes_ ? &kept_->pass.graph : nullptr;
}

StoryGraph SourceCheck::TakeGraph() {
    StoryGraph graph = Graph() != nullptr ? std::move(kept_->pass.graph) : StoryGraph();
    kept_.reset();
    return graph;
}

} // namespace kit
