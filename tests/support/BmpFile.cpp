#include "tests/support/BmpFile.h"

namespace fixtures {

namespace {

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

} // namespace

Bytes EncodeBmp(const Bmp& b) {
    Bytes info;
    Put32(info, b.headerSize);
    if (b.headerSize == 12) {
        Put16(info, static_cast<std::uint32_t>(b.width));
        Put16(info, static_cast<std::uint32_t>(b.height));
        Put16(info, b.planes);
        Put16(info, b.bpp);
    } else {
        Put32(info, static_cast<std::uint32_t>(b.width));
        Put32(info, static_cast<std::uint32_t>(b.height));
        Put16(info, b.planes);
        Put16(info, b.bpp);
        Put32(info, b.compression);
        Put32(info, static_cast<std::uint32_t>(b.pixels.size()));
        Put32(info, 2835); // 72 dpi
        Put32(info, 2835);
        Put32(info, b.colorsUsed);
        Put32(info, 0);
        for (std::size_t i = 0; i < 4 && info.size() + 4 <= b.headerSize; ++i) {
            Put32(info, i < b.masks.size() ? b.masks[i] : 0);
        }
        if (b.headerSize >= 108) {
            Put32(info, 0x73524742); // "sRGB"
        }
        info.resize(b.headerSize, 0);
        if (b.headerSize == 40) {
            for (std::uint32_t m : b.masks) {
                Put32(info, m);
            }
        }
    }
    for (std::uint32_t c : b.palette) {
        info.push_back(static_cast<std::uint8_t>(c));
        info.push_back(static_cast<std::uint8_t>(c >> 8));
        info.push_back(static_cast<std::uint8_t>(c >> 16));
        if (b.headerSize != 12) {
            info.push_back(0);
        }
    }
    const std::uint32_t offBits = b.offBits.value_or(static_cast<std::uint32_t>(14 + info.size()));
    if (offBits > 14 + info.size()) {
        info.resize(offBits - 14, 0);
    }

    Bytes file(b.magic.begin(), b.magic.end());
    Put32(file, static_cast<std::uint32_t>(14 + info.size() + b.pixels.size()));
    Put32(file, 0);
    Put32(file, offBits);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), b.pixels.begin(), b.pixels.end());
    return file;
}

Bytes PackRows(const std::vector<std::vector<std::uint32_t>>& rows, int bpp) {
    Bytes out;
    for (const auto& row : rows) {
        const std::size_t start = out.size();
        std::uint32_t acc = 0;
        int bits = 0;
        for (std::uint32_t v : row) {
            if (bpp >= 16) {
                for (int i = 0; i < bpp; i += 8) {
                    out.push_back(static_cast<std::uint8_t>(v >> i));
                }
                continue;
            }
            acc = acc << bpp | v;
            bits += bpp;
            if (bits == 8) {
                out.push_back(static_cast<std::uint8_t>(acc));
                acc = 0;
                bits = 0;
            }
        }
        if (bits > 0) {
            out.push_back(static_cast<std::uint8_t>(acc << (8 - bits)));
        }
        while ((out.size() - start) % 4 != 0) {
            out.push_back(0);
        }
    }
    return out;
}

Bytes Bmp24(int w, int h, const std::function<std::uint32_t(int x, int y)>& colour) {
    std::vector<std::vector<std::uint32_t>> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        // The bottom row comes first in the file.
        auto& row = rows[static_cast<std::size_t>(h - 1 - y)];
        for (int x = 0; x < w; ++x) {
            row.push_back(colour(x, y));
        }
    }
    Bmp bmp;
    bmp.width = w;
    bmp.height = h;
    bmp.pixels = PackRows(rows, 24);
    return EncodeBmp(bmp);
}

} // namespace fixtures
