#include "editor/core/BackgroundCheck.h"

#include "editor/core/FreedMemory.h"
#include "editor/core/StoryText.h"
#include "kit/Build.h"
#include "kit/Check.h"
#include "scenario/StepTypes.h"

namespace editor {

namespace {

// Keeps every finding. Files are named as `przygoda-kit check` names them when run in the story's folder.
class ReportSink : public kit::FindingSink {
  public:
    ReportSink(CheckReport& report, std::string folder, Cancelled cancelled)
        : report_(report), folder_(std::move(folder) + "/"), cancelled_(std::move(cancelled)) {}

    void Report(const kit::Finding& finding) override {
        if (cancelled_ && report_.Size() % 256 == 0 && cancelled_()) {
            throw CheckCancelled{};
        }
        const std::string_view file = finding.file;
        report_.Add(finding, file.starts_with(folder_) ? file.substr(folder_.size()) : file);
    }

  private:
    CheckReport& report_;
    std::string folder_;
    Cancelled cancelled_;
};

// The media check, given up as soon as the text it is checking is no longer the newest.
class CancellableProbe : public kit::MediaProbe {
  public:
    CancellableProbe(kit::MediaProbe& probe, const Cancelled& cancelled)
        : probe_(probe), cancelled_(cancelled) {}

    std::optional<kit::MediaProblem> Picture(const std::string& folder, const std::string& name) override {
        GiveUpIfCancelled();
        return probe_.Picture(folder, name);
    }
    std::optional<kit::MediaProblem> Sound(const std::string& folder, const std::string& name) override {
        GiveUpIfCancelled();
        return probe_.Sound(folder, name);
    }
    void NewCheck() override { probe_.NewCheck(); }

  private:
    void GiveUpIfCancelled() const {
        if (cancelled_()) {
            throw CheckCancelled{};
        }
    }

    kit::MediaProbe& probe_;
    Cancelled cancelled_;
};

StepMarks MarksOf(const kit::StoryGraph& graph, const CheckReport& report) {
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
    for (std::size_t i = 0; i < report.Size(); ++i) {
        const std::int64_t record = report.RecordAt(i);
        if (report.LineAt(i) == 0 && record >= 0 && record < graph.Records()) {
            marks.byRecord[static_cast<std::size_t>(record)] |= MarkProblem;
        }
    }
    return marks;
}

} // namespace

CheckReport CheckText(std::string_view text, const std::string& storyPath, kit::MediaProbe* media,
                      const Cancelled& cancelled) {
    CheckReport report;
    ReportSink sink(report, kit::FolderOf(storyPath), cancelled);
    std::optional<CancellableProbe> cancellable;
    if (media != nullptr && cancelled) {
        media = &cancellable.emplace(*media, cancelled);
    }
    kit::StoryGraph graph;
    const kit::CheckSummary summary = kit::CheckStorySource(text, storyPath, media, sink, &graph);
    report.errors = summary.errors;
    report.warnings = summary.warnings;
    report.marks = MarksOf(graph, report);
    return report;
}

CheckReport CheckScenarioFiles(const std::string& kroPath, kit::MediaProbe* media) {
    CheckReport report;
    ReportSink sink(report, kit::FolderOf(kroPath), Cancelled{});
    kit::FileInput input(kroPath);
    kit::StoryGraph graph;
    const kit::CheckSummary summary = kit::CheckScenario(input, media, sink, &graph);
    report.errors = summary.errors;
    report.warnings = summary.warnings;
    report.marks = MarksOf(graph, report);
    return report;
}

BackgroundCheck::BackgroundCheck(Done done, std::shared_ptr<kit::MediaProbe> media)
    : done_(std::move(done)), media_(std::move(media)), thread_([this] { Run(); }) {}

BackgroundCheck::~BackgroundCheck() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        stopping_ = true;
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
        newest_ = ++generation_;
    }
    wake_.notify_one();
}

void BackgroundCheck::Apply(const Patch& patch) {
    {
        const std::lock_guard lock(mutex_);
        patches_.push_back(patch);
        newest_ = ++generation_;
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
        // A keystroke made while the check runs makes its report out of date before it is done: the check
        // gives up, and the newest text is checked at once.
        const Cancelled outdated = [this, generation] {
            return newest_.load() != generation || stopping_.load();
        };
        try {
            CheckReport report = CheckText(text.Bytes(), storyPath, media_.get(), outdated);
            report.generation = generation;
            done_(std::move(report));
        } catch (const CheckCancelled&) {
        }
        // Given back only while no newer text waits: that one is checked first.
        if (newest_.load() == generation) {
            ReturnFreedMemory();
        }
    }
}

} // namespace editor
