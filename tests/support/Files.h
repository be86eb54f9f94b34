#pragma once
// Files written whole, for the fixtures and the benchmarks.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fixtures {

// Replaces the content of `path` with `size` bytes from `data`; throws std::runtime_error when it cannot.
void WriteBytes(const std::filesystem::path& path, const void* data, std::size_t size);

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    WriteBytes(path, bytes.data(), bytes.size());
}

// For the sound files, which are strings. A template, so that a brace list such as {} or {0} still means
// the vector above.
template <std::same_as<std::string> String>
void WriteBytes(const std::filesystem::path& path, const String& bytes) {
    WriteBytes(path, bytes.data(), bytes.size());
}

} // namespace fixtures
