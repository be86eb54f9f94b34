#include "scenario/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace scenario {

namespace {

constexpr std::size_t BufferSize = 1 << 16;

std::string TemporaryPattern(const std::string& target) {
    const std::size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + name + ".XXXXXX";
}

mode_t CreationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// rename() that fails with EEXIST instead of replacing; link() and unlink() where the file system lacks it.
int RenameNoReplace(const char* from, const char* to) {
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
    if (::link(from, to) != 0) {
        return -1;
    }
    ::unlink(from);
    return 0;
}

} // namespace

WriteError::WriteError(std::string path, int error)
    : std::runtime_error(path + ": " + std::strerror(error)), path_(std::move(path)), error_(error) {}

void RefuseExisting(const std::string& path, bool replace) {
    struct stat st {};
    if (!replace && ::lstat(path.c_str(), &st) == 0) {
        throw WriteError(path, EEXIST);
    }
}

AtomicFile::AtomicFile(std::string target) : target_(std::move(target)) {
    std::string pattern = TemporaryPattern(target_);
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        throw WriteError(target_, errno);
    }
    fd_ = fd;
    temporary_ = pattern;
    ::fchmod(fd_, CreationMode());
    buffer_.reserve(BufferSize);
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!committed_ && !temporary_.empty()) {
        ::unlink(temporary_.c_str());
    }
}

void AtomicFile::Write(std::span<const std::uint8_t> bytes) {
    if (buffer_.size() + bytes.size() > BufferSize) {
        Flush();
    }
    if (bytes.size() >= BufferSize) {
        buffer_.assign(bytes.begin(), bytes.end());
        Flush();
        return;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

void AtomicFile::Write(std::string_view text) {
    Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void AtomicFile::Flush() {
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw WriteError(target_, errno);
        }
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

void AtomicFile::Commit(bool replace) {
    Flush();
    if (::fsync(fd_) != 0 || ::close(fd_) != 0) {
        const int error = errno;
        fd_ = -1;
        throw WriteError(target_, error);
    }
    fd_ = -1;
    const int result = replace ? std::rename(temporary_.c_str(), target_.c_str())
                               : RenameNoReplace(temporary_.c_str(), target_.c_str());
    if (result != 0) {
        throw WriteError(target_, errno);
    }
    committed_ = true;
}

void AtomicFile::Uncommit() {
    if (committed_) {
        ::unlink(target_.c_str());
        committed_ = false;
        temporary_.clear();
    }
}

} // namespace scenario
