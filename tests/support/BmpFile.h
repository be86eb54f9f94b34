#pragma once
// BMP files built byte by byte, for the decoder tests, the tests that need a picture on disk and the
// benchmarks: every header size, depth and compression the decoder reads, and broken ones.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fixtures {

using Bytes = std::vector<std::uint8_t>;

struct Bmp {
    std::uint32_t headerSize = 40; // 12 (core), 40, 52, 56, 108 or 124
    std::int32_t width = 1;
    std::int32_t height = 1; // negative: rows stored top-down
    std::uint16_t planes = 1;
    std::uint16_t bpp = 24;
    std::uint32_t compression = 0; // 1 RLE8, 2 RLE4, 3 bit fields, 6 bit fields with alpha
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> palette;   // 0xRRGGBB
    std::vector<std::uint32_t> masks;     // inside the header from 52 bytes up, else right after it
    Bytes pixels;                         // padded rows as stored, or an RLE stream
    std::optional<std::uint32_t> offBits; // default: right after the colour table
    std::string magic = "BM";
};

Bytes EncodeBmp(const Bmp& bmp);

// One value per pixel (a palette index, a 16/32-bit word, or 0xRRGGBB for 24 bits), rows in file
// order, packed most significant bits first and padded to 4 bytes.
Bytes PackRows(const std::vector<std::vector<std::uint32_t>>& rows, int bpp);

// A bottom-up 24-bit BMP of w x h pixels; `colour(x, y)` gives 0xRRGGBB with y counted from the top.
Bytes Bmp24(int w, int h, const std::function<std::uint32_t(int x, int y)>& colour);

} // namespace fixtures
