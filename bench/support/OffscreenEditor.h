#pragma once
// The story editor's window for the benchmarks, on Qt's offscreen platform with silent seams: nobody
// answers its questions, its sounds go nowhere, its settings and drafts stay in a scratch folder. It
// counts the background check's reports as the problems panel shows them.

#include "bench/support/SilentQuestions.h"
#include "bench/support/SilentSeams.h"
#include "editor/EditorWindow.h"

#include <chrono>
#include <functional>
#include <string>

namespace bench {

// Before the QApplication is made: the offscreen platform unless another one is chosen, and the editor's
// settings, untitled drafts and runtime folder under `scratch`, so that a run leaves the author's recent
// files alone.
void PrepareOffscreenEditor(const std::string& scratch);

// Runs the event loop until `done` holds, sleeping while no event comes; false when `bound` passed first.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds bound);

// How long a wait for the interface or the check may take on a loaded machine before the run is abandoned.
inline constexpr std::chrono::milliseconds GenerousBound{120'000};

class OffscreenEditor {
  public:
    // Shown, with the check of its first, empty story reported.
    OffscreenEditor();
    // Closed without saving, which removes the open story's journal: the next window is not offered it.
    ~OffscreenEditor();
    OffscreenEditor(const OffscreenEditor&) = delete;
    OffscreenEditor& operator=(const OffscreenEditor&) = delete;

    editor::EditorWindow& Window() { return window_; }
    // The reports the problems panel has shown so far.
    int Reports() const { return reports_; }
    // Waits for the report after the `seen`th one.
    bool WaitForReportAfter(int seen);
    // Opens `path` and waits for its check to be shown; false with Trouble() saying why.
    bool OpenAndWait(const QString& path);
    // What the window said went wrong (messages and questions), empty when nothing did.
    QString Trouble() const;

  private:
    KeptMessages messages_;
    SilentMediaPlayer player_;
    SilentQuestions questions_;
    editor::EditorWindow window_;
    int reports_ = 0;
};

} // namespace bench
