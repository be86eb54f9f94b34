#pragma once
// The journal of one open story: every change the editor makes is recorded as it happens and written out
// by Flush, which the editor calls on a timer a few times a second. Flush only hands the bytes to the
// system (cheap, and enough to survive the editor being killed); a thread of the writer then waits for the
// disk, so that the interface never waits for it. After a crash the journal gives the draft back
// (RecoverJournal); a clean close removes it.

#include "editor/core/JournalFormat.h"
#include "editor/core/Patch.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace editor {

class JournalWriter {
  public:
    // The journal at `journalPath` (JournalPathFor(storyPath), or NewUntitledJournalPath()) of the story
    // saved at `storyPath` (empty: not saved yet), whose text is `base` now. Nothing is written before the
    // first change is flushed: a story opened and left unchanged leaves no journal behind.
    JournalWriter(std::string journalPath, std::string storyPath, std::string_view base);
    // Writes what it still holds and keeps the journal: only Close(true) says the changes are safe.
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    void Record(const Patch& patch);
    // Recorded (and made durable by Sync) before a save renames the new file into place.
    void RecordSaved(std::string_view newBytes);

    // Writes the recorded changes, creating the journal with the first. Throws JournalError when the
    // journal cannot be written; the changes stay recorded for the next try.
    void Flush();
    // Flush, then wait until the journal is on the disk.
    void Sync();

    // After a save: the story at `storyPath` holds `base` now, so the journal starts again from it (under
    // the new story's name after a first save or a save under another name).
    void Rebase(std::string storyPath, std::string_view base);

    // Done with the story: `remove` when its changes are saved or given up, else the journal is kept whole.
    void Close(bool remove);

    const std::string& JournalPath() const { return journalPath_; }

  private:
    void Start(std::string storyPath, std::string_view base);
    void WritePending();
    void Create();
    void Append();
    void CloseFile(bool remove);

    void SyncLoop();
    void RequestSync();
    void WaitIdle();
    void ThrowSyncError();

    std::string journalPath_;
    std::string storyPath_;
    journal::Identity base_;
    std::string pending_;
    std::size_t written_ = 0; // bytes of the journal known whole

    std::mutex mutex_;             // guards the fields below, shared with the sync thread
    std::condition_variable wake_; // a sync is wanted, or the thread is to stop
    std::condition_variable idle_; // the thread has nothing to do
    int fd_ = -1;
    bool wanted_ = false;
    bool busy_ = false;
    bool stopping_ = false;
    int syncError_ = 0;
    std::thread syncer_;
};

} // namespace editor
