#pragma once
// Our own BMP decoder. Reads core (OS/2), info, V4 and V5 headers; 1, 4, 8, 16, 24 and 32 bits per pixel;
// uncompressed, RLE4, RLE8 and bit fields; bottom-up and top-down.

#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace platform {

class BitmapError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A picture needing more pixels than this is refused instead of allocating what a header claims.
inline constexpr std::int64_t MaxBitmapBytes = 64ll * 1024 * 1024;
inline constexpr std::int64_t MaxBitmapPixels = MaxBitmapBytes / 4;

// Decodes a whole BMP file held in memory. An empty input gives a null (0 x 0) image.
// Throws BitmapError: "Bitmap image is not valid" (no "BM", planes other than 1, a header that cannot
// describe a picture, or one too large) or "Stream read error" (the data ends inside the headers or the
// colour table). Short pixel data loads; the pixels it leaves out are black. A caller may refuse pictures
// with more than `maxPixels` pixels too, as the fuzz target does to stay fast; never more than the limit.
QImage DecodeBmp(std::span<const std::uint8_t> file, std::int64_t maxPixels = MaxBitmapPixels);

// Reads and decodes a BMP file; "Cannot open file <path>" when it cannot be read.
QImage LoadBmpFile(const QString& path);

} // namespace platform
