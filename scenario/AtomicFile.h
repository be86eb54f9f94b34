#pragma once
// A file written whole or not at all: the bytes go to a temporary file in the target's folder, which
// Commit renames into place. Until then the target is untouched, and a reader that has it open keeps the
// old contents; an AtomicFile destroyed uncommitted removes its temporary file.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// A failed write, creation or rename: the file concerned and the system's error number (EEXIST when the
// target exists and was not to be replaced).
class WriteError : public std::runtime_error {
  public:
    WriteError(std::string path, int error);
    const std::string& path() const noexcept { return path_; }
    int error() const noexcept { return error_; }

  private:
    std::string path_;
    int error_;
};

// Throws WriteError(EEXIST) when `path` exists and is not to be replaced: the tools ask before any work,
// so that a refusal leaves nothing done. A link counts, even one that leads nowhere: the rename into place
// would replace the link itself.
void RefuseExisting(const std::string& path, bool replace);

class AtomicFile {
  public:
    explicit AtomicFile(std::string target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void Write(std::span<const std::uint8_t> bytes);
    void Write(std::string_view text);

    // Flushes the contents to the disk and renames the file into place. Without `replace` an existing
    // target is kept and WriteError(EEXIST) thrown.
    void Commit(bool replace);
    // Removes the file just committed again; for a pair of files of which the second failed.
    void Uncommit();

    const std::string& target() const { return target_; }

  private:
    void Flush();

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    bool committed_ = false;
    std::vector<std::uint8_t> buffer_;
};

} // namespace scenario
