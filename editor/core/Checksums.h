#pragma once
// The two checksums of the journal: CRC-32 (the common polynomial 0xEDB88320, as zlib computes it) frames
// each record against tearing and bit rot; a 64-bit FNV-1a hash names a story's bytes, so that recovery can
// tell whether the file on disk is the one the journal's changes start from.

#include <cstdint>
#include <string_view>

namespace editor {

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);

class Hash64 {
  public:
    static constexpr std::uint64_t Start = 0xcbf29ce484222325ULL;

    Hash64& Add(std::string_view bytes);
    std::uint64_t Value() const { return value_; }

  private:
    std::uint64_t value_ = Start;
};

inline std::uint64_t HashBytes(std::string_view bytes) {
    return Hash64().Add(bytes).Value();
}

} // namespace editor
