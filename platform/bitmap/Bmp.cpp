#include "platform/bitmap/Bmp.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr const char* NotValid = "Bitmap image is not valid";
constexpr const char* ReadError = "Stream read error";

constexpr std::size_t FileHeaderSize = 14;
constexpr QRgb Black = 0xFF000000u;

enum Compression : std::uint32_t { Uncompressed = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };

[[noreturn]] void Fail(const char* text) {
    throw BitmapError(text);
}

std::uint32_t U16(const std::uint8_t* p) {
    return p[0] | std::uint32_t{p[1]} << 8;
}
std::uint32_t U32(const std::uint8_t* p) {
    return p[0] | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

QRgb Opaque(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Black | std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b;
}

// Everything the headers say, once checked.
struct Layout {
    bool core = false;
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    std::uint32_t bpp = 0;
    std::uint32_t compression = Uncompressed;
    std::array<std::uint32_t, 3> masks{};
    std::size_t paletteStart = 0;
    std::size_t paletteEntries = 0;
    std::size_t pixelStart = 0;
};

bool KnownHeaderSize(std::uint32_t size) {
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool CompressionFits(std::uint32_t compression, std::uint32_t bpp) {
    switch (compression) {
    case Uncompressed:
        return true;
    case Rle8:
        return bpp == 8;
    case Rle4:
        return bpp == 4;
    case BitFields:
    case AlphaBitFields:
        return bpp == 16 || bpp == 32;
    default:
        return false;
    }
}

// Throws "Stream read error" unless `count` bytes from `offset` are in the file.
void Need(std::span<const std::uint8_t> file, std::size_t offset, std::size_t count) {
    if (offset > file.size() || file.size() - offset < count) {
        Fail(ReadError);
    }
}

Layout ReadLayout(std::span<const std::uint8_t> file, std::int64_t maxPixels) {
    Need(file, 0, FileHeaderSize);
    if (file[0] != 'B' || file[1] != 'M') {
        Fail(NotValid);
    }
    const std::uint32_t offBits = U32(&file[10]);

    Need(file, FileHeaderSize, 4);
    const std::uint32_t headerSize = U32(&file[FileHeaderSize]);
    if (!KnownHeaderSize(headerSize)) {
        Fail(NotValid);
    }
    Need(file, FileHeaderSize, headerSize);
    const std::uint8_t* h = &file[FileHeaderSize];

    Layout l;
    std::uint32_t planes = 0;
    std::uint32_t colorsUsed = 0;
    if (headerSize == 12) {
        l.core = true;
        l.width = U16(h + 4);
        l.height = U16(h + 6);
        planes = U16(h + 8);
        l.bpp = U16(h + 10);
        if (l.bpp != 1 && l.bpp != 4 && l.bpp != 8 && l.bpp != 24) {
            Fail(NotValid);
        }
    } else {
        l.width = static_cast<std::int32_t>(U32(h + 4));
        l.height = static_cast<std::int32_t>(U32(h + 8));
        planes = U16(h + 12);
        l.bpp = U16(h + 14);
        l.compression = U32(h + 16);
        colorsUsed = U32(h + 32);
    }
    if (l.height < 0) {
        l.topDown = true;
        l.height = -l.height;
    }
    if (planes != 1 || l.width <= 0 || l.height == 0) {
        Fail(NotValid);
    }
    const bool bppKnown = l.bpp == 1 || l.bpp == 4 || l.bpp == 8 || l.bpp == 16 || l.bpp == 24 || l.bpp == 32;
    if (!bppKnown || !CompressionFits(l.compression, l.bpp)) {
        Fail(NotValid);
    }
    // Checked one side at a time first so that the product cannot overflow.
    if (l.width > maxPixels || l.height > maxPixels || l.width * l.height > maxPixels) {
        Fail(NotValid);
    }

    std::size_t headerEnd = FileHeaderSize + headerSize;
    if (l.compression == BitFields || l.compression == AlphaBitFields) {
        const std::uint8_t* m = h + 40;
        if (headerSize == 40) {
            // The plain info header keeps its masks just after itself.
            const std::size_t maskBytes = l.compression == AlphaBitFields ? 16 : 12;
            Need(file, headerEnd, maskBytes);
            m = &file[headerEnd];
            headerEnd += maskBytes;
        }
        l.masks = {U32(m), U32(m + 4), U32(m + 8)};
    } else if (l.bpp == 16) {
        l.masks = {0x7C00, 0x03E0, 0x001F};
    } else if (l.bpp == 32) {
        l.masks = {0xFF0000, 0x00FF00, 0x0000FF};
    }

    const std::size_t entrySize = l.core ? 3 : 4;
    if (l.bpp <= 8) {
        const std::size_t full = std::size_t{1} << l.bpp;
        l.paletteEntries = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
    }
    l.paletteStart = headerEnd;
    const std::size_t paletteEnd = headerEnd + l.paletteEntries * entrySize;
    if (offBits < headerEnd) {
        // Some writers leave the offset at zero; the pixels then follow the colour table.
        l.pixelStart = paletteEnd;
    } else {
        // Pixels that start inside the table cut it short rather than being read as colours.
        l.pixelStart = offBits;
        l.paletteEntries = std::min(l.paletteEntries, (offBits - headerEnd) / entrySize);
    }
    Need(file, l.paletteStart, l.paletteEntries * entrySize);
    return l;
}

// Maps one bit-field channel to 0..255: the field is cut to its top 8 bits, then scaled.
class Channel {
  public:
    explicit Channel(std::uint32_t mask) : mask_(mask) {
        if (mask == 0) {
            return;
        }
        shift_ = std::countr_zero(mask);
        const int bits = std::bit_width(mask >> shift_);
        drop_ = std::max(bits - 8, 0);
        const std::uint32_t max = (1u << (bits - drop_)) - 1;
        for (std::uint32_t v = 0; v <= max; ++v) {
            lut_[v] = static_cast<std::uint8_t>((v * 255 + max / 2) / max);
        }
    }
    std::uint8_t operator()(std::uint32_t pixel) const { return lut_[((pixel & mask_) >> shift_) >> drop_]; }

  private:
    std::uint32_t mask_;
    int shift_ = 0;
    int drop_ = 0;
    std::array<std::uint8_t, 256> lut_{};
};

using Palette = std::array<QRgb, 256>;

// Indices past the colour table stay black, so no index can read outside it.
Palette ReadPalette(std::span<const std::uint8_t> file, const Layout& l) {
    Palette palette;
    palette.fill(Black);
    const std::size_t entrySize = l.core ? 3 : 4;
    for (std::size_t i = 0; i < l.paletteEntries; ++i) {
        const std::uint8_t* e = &file[l.paletteStart + i * entrySize];
        palette[i] = Opaque(e[2], e[1], e[0]);
    }
    return palette;
}

class Decoder {
  public:
    Decoder(std::span<const std::uint8_t> file, const Layout& l, QImage& image)
        : file_(file), l_(l), image_(image), width_(static_cast<int>(l.width)),
          height_(static_cast<int>(l.height)) {}

    void Run() {
        if (l_.bpp <= 8) {
            palette_ = ReadPalette(file_, l_);
        }
        if (l_.compression == Rle8 || l_.compression == Rle4) {
            image_.fill(Black);
            DecodeRle();
        } else {
            DecodeRows();
        }
    }

  private:
    // `y` counts rows in file order.
    QRgb* Row(std::int64_t y) {
        const int line = l_.topDown ? static_cast<int>(y) : height_ - 1 - static_cast<int>(y);
        return reinterpret_cast<QRgb*>(image_.scanLine(line));
    }

    void DecodeRows() {
        const std::int64_t stride = (l_.width * l_.bpp + 31) / 32 * 4;
        const std::size_t start = std::min(l_.pixelStart, file_.size());
        const std::int64_t available = static_cast<std::int64_t>(file_.size() - start);
        if (available < stride * height_) {
            // Every pixel is written when the data is complete, so only short data needs the backdrop.
            image_.fill(Black);
        }
        const Channel red(l_.masks[0]), green(l_.masks[1]), blue(l_.masks[2]);
        const bool plain32 = l_.bpp == 32 && l_.masks == std::array<std::uint32_t, 3>{0xFF0000, 0xFF00, 0xFF};
        for (std::int64_t y = 0; y < height_ && y * stride < available; ++y) {
            const std::uint8_t* src = file_.data() + start + y * stride;
            const std::int64_t rowBytes = std::min(stride, available - y * stride);
            const int count = static_cast<int>(std::min<std::int64_t>(width_, rowBytes * 8 / l_.bpp));
            QRgb* dst = Row(y);
            switch (l_.bpp) {
            case 1:
                for (int x = 0; x < count; ++x) {
                    dst[x] = palette_[(src[x >> 3] >> (7 - (x & 7))) & 1];
                }
                break;
            case 4:
                for (int x = 0; x < count; ++x) {
                    dst[x] = palette_[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
                }
                break;
            case 8:
                for (int x = 0; x < count; ++x) {
                    dst[x] = palette_[src[x]];
                }
                break;
            case 16:
                for (int x = 0; x < count; ++x) {
                    const std::uint32_t v = U16(src + 2 * x);
                    dst[x] = Opaque(red(v), green(v), blue(v));
                }
                break;
            case 24:
                for (int x = 0; x < count; ++x, src += 3) {
                    dst[x] = Opaque(src[2], src[1], src[0]);
                }
                break;
            case 32:
                if (plain32) {
                    for (int x = 0; x < count; ++x, src += 4) {
                        dst[x] = Opaque(src[2], src[1], src[0]);
                    }
                } else {
                    for (int x = 0; x < count; ++x, src += 4) {
                        const std::uint32_t v = U32(src);
                        dst[x] = Opaque(red(v), green(v), blue(v));
                    }
                }
                break;
            }
        }
    }

    void DecodeRle() {
        const std::uint8_t* p = file_.data() + std::min(l_.pixelStart, file_.size());
        const std::uint8_t* const end = file_.data() + file_.size();
        const bool rle4 = l_.compression == Rle4;
        // x is clamped to the width, so long lines of runs and deltas cannot overflow it.
        std::int64_t x = 0;
        std::int64_t y = 0;
        while (y < height_ && end - p >= 2) {
            const std::uint8_t count = p[0];
            const std::uint8_t value = p[1];
            p += 2;
            if (count > 0) {
                const std::int64_t n = std::min<std::int64_t>(count, width_ - x);
                // RLE8 repeats the byte, RLE4 alternates its two nibbles.
                QRgb* dst = Row(y) + x;
                const QRgb first = palette_[rle4 ? value >> 4 : value];
                const QRgb second = palette_[rle4 ? value & 15 : value];
                if (first == second) {
                    std::fill_n(dst, n, first);
                } else {
                    for (std::int64_t i = 0; i < n; ++i) {
                        dst[i] = (i & 1) ? second : first;
                    }
                }
                x += n;
                continue;
            }
            if (value == 0) {
                x = 0;
                ++y;
            } else if (value == 1) {
                return;
            } else if (value == 2) {
                if (end - p < 2) {
                    return;
                }
                x = std::min<std::int64_t>(x + p[0], width_);
                y += p[1];
                p += 2;
            } else {
                // Absolute mode: `value` literal pixels, padded to a 16-bit boundary.
                const std::int64_t bytes = rle4 ? (value + 1) / 2 : value;
                const std::int64_t have = std::min<std::int64_t>(bytes, end - p);
                const std::int64_t pixels = std::min<std::int64_t>(value, rle4 ? have * 2 : have);
                const std::int64_t n = std::min<std::int64_t>(pixels, width_ - x);
                QRgb* dst = Row(y) + x;
                for (std::int64_t i = 0; i < n; ++i) {
                    dst[i] = rle4 ? palette_[(i & 1) ? p[i / 2] & 15 : p[i / 2] >> 4] : palette_[p[i]];
                }
                x += n;
                if (have < bytes) {
                    return;
                }
                p += std::min<std::int64_t>(bytes + (bytes & 1), end - p);
            }
        }
    }

    std::span<const std::uint8_t> file_;
    const Layout& l_;
    QImage& image_;
    int width_;
    int height_;
    Palette palette_{};
};

} // namespace

QImage DecodeBmp(std::span<const std::uint8_t> file, std::int64_t maxPixels) {
    if (file.empty()) {
        return QImage();
    }
    const Layout layout = ReadLayout(file, std::min(maxPixels, MaxBitmapPixels));
    QImage image(static_cast<int>(layout.width), static_cast<int>(layout.height), QImage::Format_RGB32);
    if (image.isNull()) {
        Fail(NotValid);
    }
    Decoder(file, layout, image).Run();
    return image;
}

QImage LoadBmpFile(const QString& path) {
    const std::string failure = "Cannot open file " + path.toStdString();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw BitmapError(failure);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw BitmapError(failure);
    }
    // The largest picture we accept needs MaxBitmapBytes of pixel data; the headers, the colour table and
    // a gap before the pixels get a generous allowance on top. Anything past that cannot be pixels of
    // an acceptable picture, so a bigger file is decoded from its prefix.
    constexpr std::int64_t cap = MaxBitmapBytes + 1024 * 1024;
    std::vector<std::uint8_t> data(static_cast<std::size_t>(std::min<std::int64_t>(st.st_size, cap)));
    std::size_t got = 0;
    while (got < data.size()) {
        const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ::close(fd);
            throw BitmapError(failure);
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return DecodeBmp(std::span<const std::uint8_t>(data.data(), got));
}

} // namespace platform
