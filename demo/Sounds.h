#pragma once
// The demo's sounds: short synthesised PCM waves and one small MIDI melody.

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

bool IsSoundKind(const std::string& kind);

// The whole file of a sound of `kind` ("melodia" is a standard MIDI file, the others 16-bit mono PCM
// waves at 22050 Hz). Throws std::invalid_argument for an unknown kind.
std::vector<std::uint8_t> MakeSound(const std::string& kind);

} // namespace demo
