#pragma once
// A file of fixed-size records, opened read-only. Every operation either succeeds or throws InOutError
// with the code of its failure; a failed operation leaves the file as it was.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace scenario {

class RecordFile {
  public:
    RecordFile() = default;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;
    ~RecordFile();

    // Remembers the name the next Reset opens.
    void Assign(std::string name) { name_ = std::move(name); }
    const std::string& name() const { return name_; }

    void Reset(std::size_t recordSize);
    void Seek(std::int32_t record);
    void Read(std::span<std::uint8_t> record);
    void Close();

    bool isOpen() const { return fd_ >= 0; }

  private:
    std::string name_;
    int fd_ = -1;
    std::size_t recordSize_ = 0;
    std::int64_t position_ = 0;
};

} // namespace scenario
