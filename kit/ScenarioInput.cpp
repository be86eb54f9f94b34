#include "kit/ScenarioInput.h"

#include "scenario/IoError.h"
#include "scenario/RecordFile.h"
#include "scenario/TypeListName.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kit {

namespace {

// Records per block read: about a quarter of a megabyte of step records.
constexpr std::int64_t BlockRecords = 512;

int OpenForStreaming(const std::string& path, std::int64_t& size) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = fd < 0 ? errno : scenario::iocode::AccessDenied;
        if (fd >= 0) {
            ::close(fd);
        }
        throw scenario::InOutError(error);
    }
    size = st.st_size;
    return fd;
}

// Reads exactly `bytes.size()` bytes at `offset`; a file that shrank meanwhile reads beyond its end.
void ReadAt(int fd, std::span<std::uint8_t> bytes, std::int64_t offset) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done,
                                  static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            throw std::runtime_error(
                scenario::IoErrorMessage(n == 0 ? scenario::iocode::ReadBeyondEnd : errno));
        }
        done += static_cast<std::size_t>(n);
    }
}

} // namespace

FileInput::FileInput(const std::string& kroPath)
    : kroPath_(kroPath), lisPath_(scenario::FindTypeList(kroPath)) {
    const std::size_t slash = kroPath_.find_last_of('/');
    folder_ = slash == std::string::npos ? "." : kroPath_.substr(0, slash == 0 ? 1 : slash);
    // First exactly as the player opens them, for its own codes and messages.
    scenario::RecordFile kro;
    scenario::RecordFile lis;
    kro.Assign(kroPath_);
    lis.Assign(lisPath_);
    const auto open = [](scenario::RecordFile& file, std::size_t recordSize, std::int64_t& size) {
        try {
            file.Reset(recordSize);
            return OpenForStreaming(file.name(), size);
        } catch (const scenario::InOutError& e) {
            throw InputError(file.name(), e);
        }
    };
    kroFd_ = open(kro, scenario::KrokRecSize, kroSize_);
    try {
        lisFd_ = open(lis, scenario::LisRecSize, lisSize_);
    } catch (...) {
        ::close(kroFd_);
        throw;
    }
}

FileInput::~FileInput() {
    ::close(kroFd_);
    ::close(lisFd_);
}

void FileInput::ForEachBlock(const std::function<void(const RecordBlock&)>& visit) {
    const std::int64_t records = KroRecords();
    const std::int64_t typed = std::min(records, LisRecords());
    std::vector<std::uint8_t> kro(static_cast<std::size_t>(BlockRecords) * scenario::KrokRecSize);
    std::vector<std::uint8_t> lis(static_cast<std::size_t>(BlockRecords) * scenario::LisRecSize);
    for (std::int64_t first = 0; first < records; first += BlockRecords) {
        RecordBlock block;
        block.first = first;
        block.count = std::min(BlockRecords, records - first);
        block.typed = std::clamp<std::int64_t>(typed - first, 0, block.count);
        ReadAt(kroFd_, std::span(kro.data(), static_cast<std::size_t>(block.count) * scenario::KrokRecSize),
               first * static_cast<std::int64_t>(scenario::KrokRecSize));
        ReadAt(lisFd_, std::span(lis.data(), static_cast<std::size_t>(block.typed) * scenario::LisRecSize),
               first * static_cast<std::int64_t>(scenario::LisRecSize));
        block.kro = kro.data();
        block.typ = lis.data() + scenario::LisRecSize - 1;
        block.typStride = scenario::LisRecSize;
        visit(block);
    }
}

void MemoryInput::ForEachBlock(const std::function<void(const RecordBlock&)>& visit) {
    static_assert(sizeof(scenario::TKrokRec) == scenario::KrokRecSize);
    RecordBlock block;
    block.count = static_cast<std::int64_t>(kro_.size());
    block.kro = kro_.empty() ? nullptr : kro_.front().bytes.data();
    block.typed = std::min(block.count, static_cast<std::int64_t>(typ_.size()));
    block.typ = typ_.data();
    visit(block);
}

} // namespace kit
