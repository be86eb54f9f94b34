#include "editor/core/BackgroundCheck.h"

#include "editor/core/FreedMemory.h"
#include "editor/core/SourceBytes.h"
#include "kit/Build.h"
#include "kit/Check.h"
#include "kit/SourceCheck.h"
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
    std::uint64_t Version() override { return probe_.Version(); }

  private:
    void GiveUpIfCancelled() const {
        if (cancelled_()) {
            throw CheckCancelled{};
        }
    }

    kit::MediaProbe& probe_;
    Cancelled cancelled_;
};

// No marks for a source with mistakes (no graph): the steps keep those of the last story checked.
StepMarks MarksOf(const kit::StoryGraph* checked, const CheckReport& report) {
    StepMarks marks;
    if (checked == nullptr) {
        return marks;
    }
    const kit::StoryGraph& graph = *checked;
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

// A check by `run`, which reports through the sink and the media probe it is given: findings named as
// beside the story, and given up when `cancelled` says so.
template <class Run>
CheckReport Checked(const std::string& storyPath, kit::MediaProbe* media, const Cancelled& cancelled,
                    const Run& run) {
    CheckReport report;
    ReportSink sink(report, kit::FolderOf(storyPath), cancelled);
    std::optional<CancellableProbe> cancellable;
    if (media != nullptr && cancelled) {
        media = &cancellable.emplace(*media, cancelled);
    }
    const kit::CheckSummary summary = run(media, sink);
    report.errors = summary.errors;
    report.warnings = summary.warnings;
    return report;
}

} // namespace

CheckReport CheckText(std::string_view text, const std::string& storyPath, kit::MediaProbe* media,
                      const Cancelled& cancelled) {
    kit::SourceCheck check;
    CheckReport report =
        Checked(storyPath, media, cancelled, [&](kit::MediaProbe* probe, kit::FindingSink& sink) {
            return check.Whole(text, storyPath, probe, sink);
        });
    report.marks = MarksOf(check.Graph(), report);
    return report;
}

CheckReport CheckEdited(kit::SourceCheck& check, const SourceBytes& text, const std::string& storyPath,
                        kit::MediaProbe* media, const Cancelled& cancelled, bool* readWhole) {
    CheckReport report =
        Checked(storyPath, media, cancelled, [&](kit::MediaProbe* probe, kit::FindingSink& sink) {
            if (const auto step = check.EditedStep()) {
                if (const auto summary = check.Step(text.Lines(step->first, step->end), probe, sink)) {
                    return *summary;
                }
            }
            if (readWhole != nullptr) {
                *readWhole = true;
            }
            return check.Whole(text.Bytes(), storyPath, probe, sink);
        });
    report.marks = MarksOf(check.Graph(), report);
    return report;
}

CheckReport CheckScenarioFiles(const std::string& kroPath, kit::MediaProbe* media) {
    kit::StoryGraph graph;
    CheckReport report =
        Checked(kroPath, media, Cancelled{}, [&](kit::MediaProbe* probe, kit::FindingSink& sink) {
            kit::FileInput input(kroPath);
            return kit::CheckScenario(input, probe, sink, &graph);
        });
    report.marks = MarksOf(&graph, report);
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
    SourceBytes text;
    kit::SourceCheck check;
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
                text = SourceBytes(std::move(*reset_));
                reset_.reset();
                check = kit::SourceCheck();
                started = true;
            }
            for (const Patch& patch : patches_) {
                text.Apply(patch);
                check.Edited(patch.first, patch.removed.size(), patch.inserted.size());
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
        // An edit inside one step reads that step alone; only a whole check frees much.
        bool whole = false;
        try {
            CheckReport report = CheckEdited(check, text, storyPath, media_.get(), outdated, &whole);
            report.generation = generation;
            done_(std::move(report));
        } catch (const CheckCancelled&) {
        }
        // Given back only while no newer text waits: that one is checked first.
        if (whole && newest_.load() == generation) {
            ReturnFreedMemory();
        }
    }
}

} // namespace editor
