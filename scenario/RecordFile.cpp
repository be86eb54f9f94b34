#include "scenario/RecordFile.h"

#include "scenario/IoError.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace scenario {

RecordFile::~RecordFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void RecordFile::Reset(std::size_t recordSize) {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (name_.empty()) {
        throw InOutError(iocode::FileNotFound);
    }
    // O_NONBLOCK so that a FIFO named as a scenario cannot stall the player in open(); only regular
    // files are accepted afterwards, and reads of regular files never block anyway.
    const int fd = ::open(name_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        throw InOutError(OpenErrorCode(errno, name_));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw InOutError(iocode::AccessDenied);
    }
    fd_ = fd;
    recordSize_ = recordSize;
    position_ = 0;
}

void RecordFile::Seek(std::int32_t record) {
    if (fd_ < 0) {
        throw InOutError(iocode::FileNotOpen);
    }
    // 64-bit arithmetic: every 32-bit record index has an exact byte position.
    const std::int64_t position = std::int64_t{record} * static_cast<std::int64_t>(recordSize_);
    if (position < 0) {
        throw InOutError(iocode::NegativeSeek);
    }
    position_ = position;
}

void RecordFile::Read(std::span<std::uint8_t> record) {
    if (fd_ < 0) {
        throw InOutError(iocode::FileNotOpen);
    }
    if (record.size() != recordSize_) {
        throw std::invalid_argument("RecordFile::Read: buffer is not one record long");
    }
    std::size_t done = 0;
    while (done < recordSize_) {
        const ssize_t n = ::pread(fd_, record.data() + done, recordSize_ - done,
                                  static_cast<off_t>(position_ + static_cast<std::int64_t>(done)));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw InOutError(errno == EINVAL ? iocode::ReadBeyondEnd : OsErrorCode(errno));
        }
        if (n == 0) {
            throw InOutError(iocode::ReadBeyondEnd);
        }
        done += static_cast<std::size_t>(n);
    }
    position_ += static_cast<std::int64_t>(recordSize_);
}

void RecordFile::Close() {
    if (fd_ < 0) {
        throw InOutError(iocode::FileNotOpen);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        throw InOutError(OsErrorCode(errno));
    }
}

} // namespace scenario
