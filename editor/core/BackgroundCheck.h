#pragma once
// `check` of the story being edited, on a thread of its own. It keeps its own copy of the text and follows
// the document patch by patch, so an edit costs the interface only the copy of a patch; a check runs on
// the newest text whenever the last one is done, and reports through `done` on its own thread. While the
// edits stay inside one step, only that step is read again.

#include "editor/core/CheckReport.h"
#include "editor/core/Patch.h"
#include "kit/MediaProbe.h"

namespace kit {
class SourceCheck;
}

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace editor {

class SourceBytes;

// Asked now and then while a check runs: true when its result is no longer wanted.
using Cancelled = std::function<bool()>;
struct CheckCancelled {};

class BackgroundCheck {
  public:
    using Done = std::function<void(CheckReport)>;

    // `media` may be null: pictures and sounds are then not looked at. It is used on the check's thread,
    // and may be shared with others that are safe to call from two threads.
    explicit BackgroundCheck(Done done, std::shared_ptr<kit::MediaProbe> media = nullptr);
    ~BackgroundCheck();
    BackgroundCheck(const BackgroundCheck&) = delete;
    BackgroundCheck& operator=(const BackgroundCheck&) = delete;

    // A new text: the story's bytes and its path (findings name it; media are found beside it).
    void Reset(std::string bytes, std::string storyPath);
    void Apply(const Patch& patch);
    // The number of the newest text sent; a report of an older one is already out of date.
    std::uint64_t Generation() const;

  private:
    void Run();

    Done done_;
    std::shared_ptr<kit::MediaProbe> media_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<std::string> reset_;
    std::string storyPath_;
    std::vector<Patch> patches_;
    std::uint64_t generation_ = 0;
    std::uint64_t checked_ = 0;
    bool stop_ = false;
    // The same as generation_ and stop_, for the running check to look at without the lock.
    std::atomic<std::uint64_t> newest_{0};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// One check of a whole text; throws CheckCancelled when `cancelled` says so.
CheckReport CheckText(std::string_view text, const std::string& storyPath, kit::MediaProbe* media,
                      const Cancelled& cancelled = {});
// The check of `text` as the thread runs it: after edits inside one step, that step alone is read again
// from what `check` kept of the last check (the findings are the same). `readWhole`, when given, is set
// when the whole text was read.
CheckReport CheckEdited(kit::SourceCheck& check, const SourceBytes& text, const std::string& storyPath,
                        kit::MediaProbe* media, const Cancelled& cancelled = {}, bool* readWhole = nullptr);
// The check of a built scenario's files, its findings named as beside the scenario.
CheckReport CheckScenarioFiles(const std::string& kroPath, kit::MediaProbe* media);

} // namespace editor
