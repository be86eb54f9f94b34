#include "platform/bitmap/Bmp.h"
#include "tests/support/BmpFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace {

using fixtures::Bmp;
using fixtures::Bytes;

constexpr const char* NotValid = "Bitmap image is not valid";
constexpr const char* ReadError = "Stream read error";

// The message DecodeBmp fails with, or "" when it decodes.
std::string ErrorOf(const Bytes& file) {
    try {
        platform::DecodeBmp(file);
        return "";
    } catch (const platform::BitmapError& e) {
        return e.what();
    }
}

Bmp Valid24(int width = 2, int height = 2) {
    Bmp bmp;
    bmp.width = width;
    bmp.height = height;
    bmp.pixels = Bytes(static_cast<std::size_t>((width * 3 + 3) / 4 * 4 * height), 0x40);
    return bmp;
}

struct Broken {
    const char* name;
    std::function<void(Bmp&)> breakIt;
};

void PrintTo(const Broken& c, std::ostream* out) {
    *out << c.name;
}

class InvalidHeader : public testing::TestWithParam<Broken> {};

TEST_P(InvalidHeader, IsRefusedAsNotValid) {
    Bmp bmp = Valid24();
    GetParam().breakIt(bmp);
    EXPECT_EQ(ErrorOf(fixtures::EncodeBmp(bmp)), NotValid);
}

INSTANTIATE_TEST_SUITE_P(Bmp, InvalidHeader,
                         testing::Values(Broken{"NoMagic", [](Bmp& b) { b.magic = "BA"; }},
                                         Broken{"TwoPlanes", [](Bmp& b) { b.planes = 2; }},
                                         Broken{"UnknownHeaderSize", [](Bmp& b) { b.headerSize = 64; }},
                                         Broken{"ZeroWidth", [](Bmp& b) { b.width = 0; }},
                                         Broken{"NegativeWidth", [](Bmp& b) { b.width = -2; }},
                                         Broken{"ZeroHeight", [](Bmp& b) { b.height = 0; }},
                                         Broken{"TwoBitsPerPixel", [](Bmp& b) { b.bpp = 2; }},
                                         Broken{"ZeroBitsPerPixel", [](Bmp& b) { b.bpp = 0; }},
                                         Broken{"SixteenBitsInCore",
                                                [](Bmp& b) {
                                                    b.headerSize = 12;
                                                    b.bpp = 16;
                                                }},
                                         Broken{"Rle8At24Bits", [](Bmp& b) { b.compression = 1; }},
                                         Broken{"Rle4At8Bits",
                                                [](Bmp& b) {
                                                    b.bpp = 8;
                                                    b.compression = 2;
                                                }},
                                         Broken{"BitFieldsAt24Bits", [](Bmp& b) { b.compression = 3; }},
                                         Broken{"EmbeddedJpeg", [](Bmp& b) { b.compression = 4; }},
                                         Broken{"Huge",
                                                [](Bmp& b) {
                                                    b.width = 100000;
                                                    b.height = 100000;
                                                }},
                                         Broken{"WidestInt", [](Bmp& b) { b.width = 0x7FFFFFFF; }},
                                         Broken{"LowestIntHeight", [](Bmp& b) { b.height = INT32_MIN; }},
                                         Broken{"JustOverTheLimit",
                                                [](Bmp& b) {
                                                    b.width = 4097;
                                                    b.height = 4096;
                                                }},
                                         Broken{"OneRowTooWide",
                                                [](Bmp& b) {
                                                    b.width = 16 * 1024 * 1024 + 1;
                                                    b.height = 1;
                                                }}),
                         [](const testing::TestParamInfo<Broken>& info) {
                             return std::string(info.param.name);
                         });

TEST(Bmp, LargestAllowedPictureLoads) {
    Bmp bmp;
    bmp.width = 4096;
    bmp.height = 4096;
    bmp.pixels = {0xFF, 0xFF, 0xFF}; // one white pixel, the rest missing
    const QImage image = platform::DecodeBmp(fixtures::EncodeBmp(bmp));
    ASSERT_EQ(image.size(), QSize(4096, 4096));
    EXPECT_EQ(image.pixel(0, 4095), 0xFFFFFFFFu);
    EXPECT_EQ(image.pixel(1, 4095), 0xFF000000u);
}

// A caller may bound the area lower (the fuzz target does), never higher than the decoder's own limit.
TEST(Bmp, CallersBoundOnlyLowersTheLimit) {
    Bmp bmp;
    bmp.width = 64;
    bmp.height = 64;
    EXPECT_EQ(platform::DecodeBmp(fixtures::EncodeBmp(bmp), 64 * 64).size(), QSize(64, 64));
    EXPECT_THROW(platform::DecodeBmp(fixtures::EncodeBmp(bmp), 64 * 64 - 1), platform::BitmapError);
    bmp.width = 4097;
    bmp.height = 4096;
    EXPECT_THROW(platform::DecodeBmp(fixtures::EncodeBmp(bmp), INT64_MAX), platform::BitmapError);
}

// Truncating a file anywhere in its headers or colour table is a read error; anywhere in its pixels it
// still loads, with exactly the pixels whose bytes are all present.
struct Truncation {
    const char* name;
    Bmp bmp;
    std::size_t pixelStart;
};

void PrintTo(const Truncation& c, std::ostream* out) {
    *out << c.name;
}

Bmp Make(std::uint32_t headerSize, std::uint16_t bpp, std::uint32_t compression,
         std::vector<std::uint32_t> palette, std::vector<std::uint32_t> masks) {
    Bmp bmp;
    bmp.headerSize = headerSize;
    bmp.bpp = bpp;
    bmp.compression = compression;
    bmp.width = 3;
    bmp.height = 3;
    bmp.palette = std::move(palette);
    bmp.colorsUsed = headerSize == 12 ? 0 : static_cast<std::uint32_t>(bmp.palette.size());
    bmp.masks = std::move(masks);
    const std::size_t stride = (3 * bpp + 31) / 32 * 4;
    for (std::size_t i = 0; i < stride * 3; ++i) {
        bmp.pixels.push_back(static_cast<std::uint8_t>(1 + i % 3)); // no present pixel decodes to black
    }
    return bmp;
}

class Truncated : public testing::TestWithParam<Truncation> {};

TEST_P(Truncated, FailsInHeadersAndLoadsInPixels) {
    const Truncation& t = GetParam();
    const Bytes full = fixtures::EncodeBmp(t.bmp);
    const QImage whole = platform::DecodeBmp(full);
    const std::size_t stride = static_cast<std::size_t>((3 * t.bmp.bpp + 31) / 32 * 4);
    for (std::size_t length = 1; length < full.size(); ++length) {
        SCOPED_TRACE(length);
        const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
        if (length < t.pixelStart) {
            EXPECT_EQ(ErrorOf(cut), ReadError);
            continue;
        }
        const QImage image = platform::DecodeBmp(cut);
        for (int row = 0; row < 3; ++row) {
            for (int x = 0; x < 3; ++x) {
                const std::size_t lastByte = t.pixelStart + static_cast<std::size_t>(row) * stride +
                                             static_cast<std::size_t>((x + 1) * t.bmp.bpp + 7) / 8;
                const int line = 2 - row;
                EXPECT_EQ(image.pixel(x, line), lastByte <= length ? whole.pixel(x, line) : 0xFF000000u)
                    << x << "," << line;
            }
        }
    }
}

const std::vector<std::uint32_t> Four = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};

INSTANTIATE_TEST_SUITE_P(
    Bmp, Truncated,
    testing::Values(Truncation{"Core8", Make(12, 8, 0, Four, {}), 14 + 12 + 4 * 3},
                    Truncation{"Info4", Make(40, 4, 0, Four, {}), 14 + 40 + 16},
                    Truncation{"Info24", Make(40, 24, 0, {}, {}), 14 + 40},
                    Truncation{"Info16Masks", Make(40, 16, 3, {}, {0x7C00, 0x3E0, 0x1F}), 14 + 40 + 12},
                    Truncation{"V5Bits1", Make(124, 1, 0, {0xFF, 0xFF00}, {}), 14 + 124 + 8}),
    [](const testing::TestParamInfo<Truncation>& info) { return std::string(info.param.name); });

TEST(Bmp, ShortFileWithoutMagicIsAReadError) {
    EXPECT_EQ(ErrorOf({'X'}), ReadError);
}

// ---- Files ----

void Save(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string LoadError(const QString& path) {
    try {
        platform::LoadBmpFile(path);
        return "";
    } catch (const platform::BitmapError& e) {
        return e.what();
    }
}

TEST(BmpFile, LoadsFromAPathWithPolishLetters) {
    fixtures::TempDir dir;
    Bmp bmp = Valid24(1, 1);
    bmp.pixels = {0x56, 0x34, 0x12, 0};
    Save(dir / "zażółć.bmp", fixtures::EncodeBmp(bmp));
    const QImage image = platform::LoadBmpFile(QString::fromStdString((dir / "zażółć.bmp").string()));
    ASSERT_EQ(image.size(), QSize(1, 1));
    EXPECT_EQ(image.pixel(0, 0), 0xFF123456u);
}

TEST(BmpFile, EmptyFileGivesANullImage) {
    fixtures::TempDir dir;
    Save(dir / "empty.bmp", {});
    EXPECT_TRUE(platform::LoadBmpFile(QString::fromStdString((dir / "empty.bmp").string())).isNull());
}

TEST(BmpFile, MissingFileOrFolderCannotBeOpened) {
    fixtures::TempDir dir;
    const QString missing = QString::fromStdString((dir / "brak.bmp").string());
    const QString folder = QString::fromStdString(dir.path().string());
    EXPECT_EQ(LoadError(missing), "Cannot open file " + missing.toStdString());
    EXPECT_EQ(LoadError(folder), "Cannot open file " + folder.toStdString());
}

TEST(BmpFile, DecodeErrorsPassThrough) {
    fixtures::TempDir dir;
    Save(dir / "bad.bmp", {'B', 'M', 0});
    EXPECT_EQ(LoadError(QString::fromStdString((dir / "bad.bmp").string())), ReadError);
}

} // namespace
