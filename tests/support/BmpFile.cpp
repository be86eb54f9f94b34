#include "tests/support/BmpFile.h"

namespace fixtures {

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
    }
}

} // namespace

std::vector<std::uint8_t> Bmp24(int w, int h, const std::function<std::uint32_t(int x, int y)>& colour) {
    const int stride = (w * 3 + 3) / 4 * 4;
    const auto pixelBytes = static_cast<std::uint32_t>(stride * h);
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put(out, 54 + pixelBytes, 4);
    Put(out, 0, 4);
    Put(out, 54, 4);
    Put(out, 40, 4);
    Put(out, static_cast<std::uint32_t>(w), 4);
    Put(out, static_cast<std::uint32_t>(h), 4);
    Put(out, 1, 2);
    Put(out, 24, 2);
    Put(out, 0, 4);
    Put(out, pixelBytes, 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, 0, 4);
    Put(out, 0, 4);
    for (int row = h - 1; row >= 0; --row) {
        for (int x = 0; x < w; ++x) {
            Put(out, colour(x, row), 3);
        }
        for (int pad = w * 3; pad < stride; ++pad) {
            out.push_back(0);
        }
    }
    return out;
}

} // namespace fixtures
