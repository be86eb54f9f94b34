#pragma once
// The committed ogg and flac fixtures: 0.5 s of 440 Hz.

#include <filesystem>
#include <string>

namespace soundtest {

inline std::filesystem::path DataFile(const std::string& name) {
    return std::filesystem::path(SOUND_TEST_DATA) / name;
}

} // namespace soundtest
