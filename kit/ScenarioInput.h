#pragma once
// The records of a scenario, read in order: from the two files on disk, opened as the player opens them,
// or from memory. Reading streams the files in large blocks, so that memory does not grow with them.

#include "scenario/IoError.h"
#include "scenario/Records.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace kit {

using KrokSpan = std::span<const std::uint8_t, scenario::KrokRecSize>;

// Consecutive records as read: `count` step records from record `first`, and the types of the first
// `typed` of them (the type list may end earlier), each `typStride` bytes after the one before.
struct RecordBlock {
    std::int64_t first = 0;
    std::int64_t count = 0;
    const std::uint8_t* kro = nullptr;
    std::int64_t typed = 0;
    const std::uint8_t* typ = nullptr;
    std::size_t typStride = 1;
};

class ScenarioInput {
  public:
    virtual ~ScenarioInput() = default;
    // The whole records in each file, and the bytes of an incomplete record at the end of the step file.
    virtual std::int64_t KroRecords() const = 0;
    virtual std::int64_t LisRecords() const = 0;
    virtual std::int64_t KroTailBytes() const = 0;
    virtual void ForEachBlock(const std::function<void(const RecordBlock&)>& visit) = 0;

    // Calls visit(record, krok, typ) for each record of the step file in order, with its type when the
    // type list has that record.
    template <class Visit> void ForEach(Visit&& visit) {
        ForEachBlock([&](const RecordBlock& b) {
            for (std::int64_t i = 0; i < b.count; ++i) {
                const KrokSpan krok(b.kro + i * static_cast<std::int64_t>(scenario::KrokRecSize),
                                    scenario::KrokRecSize);
                std::optional<std::uint8_t> typ;
                if (i < b.typed) {
                    typ = b.typ[static_cast<std::size_t>(i) * b.typStride];
                }
                visit(b.first + i, krok, typ);
            }
        });
    }
    // The file name to report findings under, and the folder the media folders lie in.
    virtual const std::string& Name() const = 0;
    virtual const std::string& Folder() const = 0;
};

// A scenario file that cannot be opened or read: its path, then the player's own message for the failure.
class InputError : public std::runtime_error {
  public:
    InputError(const std::string& path, const scenario::InOutError& error)
        : std::runtime_error(path + ": " + error.what()), code_(error.code()) {}
    int code() const noexcept { return code_; }

  private:
    int code_;
};

// The step file `kroPath` and its type list, found as the player finds it (scenario::FindTypeList: the
// paired name, else that name in any letter case). The constructor opens both as the player does and throws
// InputError with the player's own code and message when it cannot.
class FileInput : public ScenarioInput {
  public:
    explicit FileInput(const std::string& kroPath);
    ~FileInput() override;
    FileInput(const FileInput&) = delete;
    FileInput& operator=(const FileInput&) = delete;

    std::int64_t KroRecords() const override { return kroSize_ / scenario::KrokRecSize; }
    std::int64_t LisRecords() const override { return lisSize_ / scenario::LisRecSize; }
    std::int64_t KroTailBytes() const override { return kroSize_ % scenario::KrokRecSize; }
    void ForEachBlock(const std::function<void(const RecordBlock&)>& visit) override;
    const std::string& Name() const override { return kroPath_; }
    const std::string& Folder() const override { return folder_; }
    const std::string& LisPath() const { return lisPath_; }

  private:
    std::string kroPath_;
    std::string lisPath_;
    std::string folder_;
    int kroFd_ = -1;
    int lisFd_ = -1;
    std::int64_t kroSize_ = 0;
    std::int64_t lisSize_ = 0;
};

// Records held in memory, as the writer would write them.
class MemoryInput : public ScenarioInput {
  public:
    MemoryInput(std::string name, std::string folder, std::vector<scenario::TKrokRec> kro,
                std::vector<std::uint8_t> typ)
        : name_(std::move(name)), folder_(std::move(folder)), kro_(std::move(kro)), typ_(std::move(typ)) {}

    std::int64_t KroRecords() const override { return static_cast<std::int64_t>(kro_.size()); }
    std::int64_t LisRecords() const override { return static_cast<std::int64_t>(typ_.size()); }
    std::int64_t KroTailBytes() const override { return 0; }
    void ForEachBlock(const std::function<void(const RecordBlock&)>& visit) override;
    const std::string& Name() const override { return name_; }
    const std::string& Folder() const override { return folder_; }

  private:
    std::string name_;
    std::string folder_;
    std::vector<scenario::TKrokRec> kro_;
    std::vector<std::uint8_t> typ_;
};

} // namespace kit
