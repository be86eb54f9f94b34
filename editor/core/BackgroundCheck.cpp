#include "editor/core/BackgroundCheck.h"

#include "editor/core/StoryText.h"
#include "kit/Build.h"
#include "kit/Check.h"
#include "scenario/StepTypes.h"

#include <sstream>

namespace editor {

namespace {

// Keeps every finding with the line the toolkit prints for it.
// Files are named as `przygoda-kit check` names them when run in the story's folder.
class ReportSink : public kit::FindingSink {
  public:
    ReportSink(CheckReport& report, std::string folder) : report_(report), folder_(std::move(folder) + "/") {}

    void Report(const kit::Finding& found) override {
        kit::Finding finding = found;
        if (finding.file.starts_with(folder_)) {
            finding.file.erase(0, folder_.size());
        }
        std::ostringstream line;
        kit::TextSink(line).Report(finding);
        std::string text = std::move(line).str();
        if (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        report_.lines.push_back(std::move(text));
        report_.findings.push_back(finding);
    }

  private:
    CheckReport& report_;
    std::string folder_;
};

StepMarks MarksOf(const kit::StoryGraph& graph, const std::vector<kit::Finding>& findings) {
    StepMarks marks;
    marks.byRecord.assign(static_cast<std::size_t>(graph.Records()), 0);
    for (std::int64_t r = 0; r < graph.Records(); ++r) {
        std::uint8_t& m = marks.byRecord[static_cast<std::size_t>(r)];
        if (r == 1) {
            m |= MarkStart;
        }
        if (graph.Typ(r) == scenario::TypKoniec) {
            m |= MarkEnding;
        }
        if (graph.CanStart() && graph.Trap(r)) {
            m |= MarkTrap;
        }
        if (graph.CanStart() && !graph.Reachable(r) && !graph.Placeholder(r)) {
            m |= MarkUnreachable;
        }
    }
    for (const kit::Finding& finding : findings) {
        if (finding.line == 0 && finding.record >= 0 && finding.record < graph.Records()) {
            marks.byRecord[static_cast<std::size_t>(finding.record)] |= MarkProblem;
        }
    }
    return marks;
}

} // namespace

CheckReport CheckText(std::string_view text, const std::string& storyPath, kit::MediaProbe* media) {
    CheckReport report;
    ReportSink sink(report, kit::FolderOf(storyPath));
    kit::StoryGraph graph;
    const kit::CheckSummary summary = kit::CheckStorySource(text, storyPath, media, sink, &graph);
    report.errors = summary.errors;
    report.warnings = summary.warnings;
    report.marks = MarksOf(graph, report.findings);
    return report;
}

CheckReport CheckScenarioFiles(const std::string& kroPath, kit::MediaProbe* media) {
    CheckReport report;
    ReportSink sink(report, kit::FolderOf(kroPath));
    kit::FileInput input(kroPath);
    const kit::CheckSummary summary = kit::CheckScenario(input, media, sink);
    kit::FileInput again(kroPath);
    report.errors = summary.errors;
    report.warnings = summary.warnings;
    report.marks = MarksOf(kit::ReadGraph(again), report.findings);
    return report;
}

BackgroundCheck::BackgroundCheck(Done done, std::shared_ptr<kit::MediaProbe> media)
    : done_(std::move(done)), media_(std::move(media)), thread_([this] { Run(); }) {}

BackgroundCheck::~BackgroundCheck() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void BackgroundCheck::Reset(std::string bytes, std::string storyPath) {
    {
        const std::lock_guard lock(mutex_);
        reset_ = std::move(bytes);
        storyPath_ = std::move(storyPath);
        patches_.clear();
        ++generation_;
    }
    wake_.notify_one();
}

void BackgroundCheck::Apply(const Patch& patch) {
    {
        const std::lock_guard lock(mutex_);
        patches_.push_back(patch);
        ++generation_;
    }
    wake_.notify_one();
}

std::uint64_t BackgroundCheck::Generation() const {
    const std::lock_guard lock(mutex_);
    return generation_;
}

void BackgroundCheck::Run() {
    StoryText text;
    bool started = false;
    for (;;) {
        std::string storyPath;
        std::uint64_t generation = 0;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || generation_ != checked_; });
            if (stop_) {
                return;
            }
            if (reset_) {
                text = StoryText(*reset_);
                reset_.reset();
                started = true;
            }
            for (const Patch& patch : patches_) {
                text.Apply(patch);
            }
            patches_.clear();
            generation = checked_ = generation_;
            storyPath = storyPath_;
        }
        if (!started) {
            continue;
        }
        CheckReport report = CheckText(text.Bytes(), storyPath, media_.get());
        report.generation = generation;
        done_(std::move(report));
    }
}

} // namespace editor
