#pragma once
// Uncompressed 24-bit BMP files for the tests that need a picture on disk.

#include <cstdint>
#include <functional>
#include <vector>

namespace fixtures {

// A bottom-up 24-bit BMP of w x h pixels; `colour(x, y)` gives 0xRRGGBB with y counted from the top.
std::vector<std::uint8_t> Bmp24(int w, int h, const std::function<std::uint32_t(int x, int y)>& colour);

} // namespace fixtures
