// Our BMP decoder against QImage's own reader, on the same 128 x 128 files held in memory.
#include "platform/bitmap/Bmp.h"
#include "tests/support/BmpFile.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QImage>

namespace {

constexpr int Size = 128;

std::vector<std::uint32_t> Palette() {
    std::vector<std::uint32_t> p;
    for (std::uint32_t i = 0; i < 256; ++i) {
        p.push_back(i << 16 | (i * 3 & 255) << 8 | (255 - i));
    }
    return p;
}

// A picture with flat areas and some noise, like the drawings the stories use.
std::uint32_t Index(int x, int y) {
    if ((x * 7 + y * 13) % 29 == 0) {
        return static_cast<std::uint32_t>(x * y) & 255;
    }
    return static_cast<std::uint32_t>(x / 16 + y / 16 * 8);
}

fixtures::Bytes File24() {
    std::vector<std::vector<std::uint32_t>> rows(Size);
    const auto palette = Palette();
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            rows[y].push_back(palette[Index(x, y)] ^ static_cast<std::uint32_t>(x));
        }
    }
    fixtures::Bmp bmp;
    bmp.width = bmp.height = Size;
    bmp.pixels = fixtures::PackRows(rows, 24);
    return fixtures::EncodeBmp(bmp);
}

fixtures::Bytes File8(bool rle) {
    fixtures::Bmp bmp;
    bmp.width = bmp.height = Size;
    bmp.bpp = 8;
    bmp.palette = Palette();
    if (!rle) {
        std::vector<std::vector<std::uint32_t>> rows(Size);
        for (int y = 0; y < Size; ++y) {
            for (int x = 0; x < Size; ++x) {
                rows[y].push_back(Index(x, y));
            }
        }
        bmp.pixels = fixtures::PackRows(rows, 8);
        return fixtures::EncodeBmp(bmp);
    }
    // Runs of three or more are encoded, everything else goes out in absolute mode.
    bmp.compression = 1;
    for (int y = 0; y < Size; ++y) {
        int x = 0;
        while (x < Size) {
            int run = 1;
            while (x + run < Size && run < 255 && Index(x + run, y) == Index(x, y)) {
                ++run;
            }
            if (run >= 3) {
                bmp.pixels.insert(bmp.pixels.end(),
                                  {static_cast<std::uint8_t>(run), static_cast<std::uint8_t>(Index(x, y))});
                x += run;
                continue;
            }
            int literal = 0;
            while (x + literal < Size && literal < 255 &&
                   (x + literal + 2 >= Size || Index(x + literal, y) != Index(x + literal + 1, y) ||
                    Index(x + literal, y) != Index(x + literal + 2, y))) {
                ++literal;
            }
            if (literal < 3) {
                bmp.pixels.insert(bmp.pixels.end(), {1, static_cast<std::uint8_t>(Index(x, y))});
                ++x;
                continue;
            }
            bmp.pixels.insert(bmp.pixels.end(), {0, static_cast<std::uint8_t>(literal)});
            for (int i = 0; i < literal; ++i) {
                bmp.pixels.push_back(static_cast<std::uint8_t>(Index(x + i, y)));
            }
            if (literal % 2 != 0) {
                bmp.pixels.push_back(0);
            }
            x += literal;
        }
        bmp.pixels.insert(bmp.pixels.end(), {0, 0});
    }
    bmp.pixels.insert(bmp.pixels.end(), {0, 1});
    return fixtures::EncodeBmp(bmp);
}

void Ours(benchmark::State& state, const fixtures::Bytes& file) {
    for (auto _ : state) {
        QImage image = platform::DecodeBmp(file);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void Theirs(benchmark::State& state, const fixtures::Bytes& file) {
    const QByteArray data(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size()));
    for (auto _ : state) {
        QImage image;
        if (!image.loadFromData(data, "BMP")) {
            state.SkipWithError("QImage could not read the file");
            return;
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}

const fixtures::Bytes Bmp24 = File24();
const fixtures::Bytes Bmp8 = File8(false);
const fixtures::Bytes BmpRle8 = File8(true);

void BM_Ours_24bit(benchmark::State& state) {
    Ours(state, Bmp24);
}
void BM_QImage_24bit(benchmark::State& state) {
    Theirs(state, Bmp24);
}
void BM_Ours_8bit(benchmark::State& state) {
    Ours(state, Bmp8);
}
void BM_QImage_8bit(benchmark::State& state) {
    Theirs(state, Bmp8);
}
void BM_Ours_Rle8(benchmark::State& state) {
    Ours(state, BmpRle8);
}
void BM_QImage_Rle8(benchmark::State& state) {
    Theirs(state, BmpRle8);
}

BENCHMARK(BM_Ours_24bit);
BENCHMARK(BM_QImage_24bit);
BENCHMARK(BM_Ours_8bit);
BENCHMARK(BM_QImage_8bit);
BENCHMARK(BM_Ours_Rle8);
BENCHMARK(BM_QImage_Rle8);

} // namespace
