#include "editor/core/JournalWriter.h"

#include "editor/core/JournalError.h"
#include "editor/core/JournalPaths.h"
#include "editor/core/LineList.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace editor {

namespace {

// Writes all of `bytes` at the end of the file; the error number, or 0.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

} // namespace

JournalWriter::JournalWriter(std::string journalPath, std::string storyPath, std::string_view base)
    : journalPath_(std::move(journalPath)) {
    Start(std::move(storyPath), base);
}

JournalWriter::~JournalWriter() {
    try {
        WritePending();
    } catch (const JournalError&) {
        // Nothing left to tell it to; what was written before stays recoverable.
    }
    CloseFile(false);
    if (syncer_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        syncer_.join();
    }
}

// An untitled story has no file to start from: its journal starts from the empty text, and a text it was
// given (a new story's template) is its first change.
void JournalWriter::Start(std::string storyPath, std::string_view base) {
    storyPath_ = std::move(storyPath);
    pending_.clear();
    if (!storyPath_.empty()) {
        base_ = journal::Identity::Of(base);
        return;
    }
    base_ = journal::Identity::Of({});
    if (!base.empty()) {
        Record(Patch{0, {std::string()}, SplitLines(base)});
    }
}

void JournalWriter::Record(const Patch& patch) {
    journal::AppendChange(pending_, patch);
}

void JournalWriter::RecordSaved(std::string_view newBytes) {
    // With no journal and no change waiting, the file on disk is all there is to recover from.
    if (fd_ >= 0 || !pending_.empty()) {
        journal::AppendSaved(pending_, journal::Identity::Of(newBytes));
    }
}

void JournalWriter::Flush() {
    ThrowSyncError();
    if (pending_.empty()) {
        return;
    }
    WritePending();
    RequestSync();
}

void JournalWriter::Sync() {
    ThrowSyncError();
    WritePending();
    if (fd_ < 0) {
        return;
    }
    WaitIdle();
    if (::fdatasync(fd_) != 0) {
        throw JournalError("Nie można zapisać dziennika " + journalPath_ + ": " + DiskProblem(errno) + ".");
    }
}

void JournalWriter::WritePending() {
    if (pending_.empty()) {
        return;
    }
    if (fd_ < 0) {
        Create();
    } else {
        Append();
    }
    pending_.clear();
}

// The journal gets its name only once its header and first records are written, and replaces in one step
// whatever journal an earlier run may have left there (the editor offered that one back before).
void JournalWriter::Create() {
    const std::filesystem::path folder = std::filesystem::path(journalPath_).parent_path();
    std::error_code ignored;
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ignored);
    }
    if (JournalInUse(journalPath_)) {
        throw JournalError("Tę opowieść edytuje już inne okno edytora (jej dziennik " + journalPath_ +
                           " jest w użyciu).");
    }
    std::string temporary = journalPath_ + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    const std::string bytes =
        error != 0 ? std::string() : journal::EncodeHeader(base_, storyPath_) + pending_;
    if (error == 0) {
        // A draft is nobody else's business; the lock tells other editors the journal is being written.
        ::fchmod(fd, 0600);
        ::flock(fd, LOCK_EX | LOCK_NB);
        error = WriteAll(fd, bytes);
        if (error == 0 && std::rename(temporary.c_str(), journalPath_.c_str()) != 0) {
            error = errno;
        }
        if (error != 0) {
            ::unlink(temporary.c_str());
            ::close(fd);
        }
    }
    if (error != 0) {
        throw JournalError("Nie można założyć dziennika zmian " + journalPath_ + ": " + DiskProblem(error) +
                           ".");
    }
    {
        std::lock_guard lock(mutex_);
        fd_ = fd;
    }
    written_ = bytes.size();
    if (!syncer_.joinable()) {
        syncer_ = std::thread([this] { SyncLoop(); });
    }
}

// A write cut short (a full disk) is taken back, so that the records after it are not lost behind a torn one.
void JournalWriter::Append() {
    const int error = WriteAll(fd_, pending_);
    if (error != 0) {
        if (::ftruncate(fd_, static_cast<off_t>(written_)) == 0) {
            ::lseek(fd_, 0, SEEK_END);
        }
        throw JournalError("Nie można zapisać dziennika " + journalPath_ + ": " + DiskProblem(error) + ".");
    }
    written_ += pending_.size();
}

void JournalWriter::Rebase(std::string storyPath, std::string_view base) {
    CloseFile(true);
    if (storyPath != storyPath_) {
        journalPath_ = JournalPathFor(storyPath);
    }
    Start(std::move(storyPath), base);
}

void JournalWriter::Close(bool remove) {
    if (remove) {
        pending_.clear();
    } else {
        WritePending();
    }
    CloseFile(remove);
}

void JournalWriter::CloseFile(bool remove) {
    if (fd_ < 0) {
        return;
    }
    WaitIdle();
    // Removed while still locked, so that no other editor takes it for one left behind.
    if (remove) {
        ::unlink(journalPath_.c_str());
    }
    std::lock_guard lock(mutex_);
    ::close(fd_);
    fd_ = -1;
    written_ = 0;
}

void JournalWriter::SyncLoop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return wanted_ || stopping_; });
        if (!wanted_) {
            return;
        }
        wanted_ = false;
        busy_ = true;
        const int fd = fd_;
        lock.unlock();
        const int error = fd >= 0 && ::fdatasync(fd) != 0 ? errno : 0;
        lock.lock();
        busy_ = false;
        if (error != 0) {
            syncError_ = error;
        }
        idle_.notify_all();
    }
}

void JournalWriter::RequestSync() {
    {
        std::lock_guard lock(mutex_);
        wanted_ = true;
    }
    wake_.notify_one();
}

void JournalWriter::WaitIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !wanted_ && !busy_; });
}

void JournalWriter::ThrowSyncError() {
    int error = 0;
    {
        std::lock_guard lock(mutex_);
        std::swap(error, syncError_);
    }
    if (error != 0) {
        throw JournalError("Dziennik " + journalPath_ + " nie trafił na dysk: " + DiskProblem(error) + ".");
    }
}

} // namespace editor
