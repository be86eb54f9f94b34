#include "platform/bitmap/Bmp.h"
#include "tests/support/BmpFile.h"

#include <gtest/gtest.h>

namespace {

using fixtures::Bmp;
using fixtures::PackRows;
using Grid = std::vector<std::vector<std::uint32_t>>;

constexpr std::uint32_t K = 0x000000, W = 0xFFFFFF, R = 0xFF0000, G = 0x00FF00, B = 0x0000FF;

// Colours as 0xRRGGBB, top row first; also checks that every pixel is opaque.
Grid Colours(const QImage& image) {
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    Grid out(static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            EXPECT_EQ(qAlpha(p), 255);
            out[static_cast<std::size_t>(y)].push_back(p & 0xFFFFFF);
        }
    }
    return out;
}

Grid Decode(const Bmp& bmp) {
    const auto file = fixtures::EncodeBmp(bmp);
    return Colours(platform::DecodeBmp(file));
}

std::vector<std::uint32_t> Greys16() {
    std::vector<std::uint32_t> p;
    for (std::uint32_t i = 0; i < 16; ++i) {
        p.push_back(i * 0x111111);
    }
    return p;
}

// Index i gives red i, green 255 - i, blue i / 2.
std::vector<std::uint32_t> Ramp256() {
    std::vector<std::uint32_t> p;
    for (std::uint32_t i = 0; i < 256; ++i) {
        p.push_back(i << 16 | (255 - i) << 8 | i / 2);
    }
    return p;
}

struct Variant {
    const char* name;
    std::uint32_t headerSize;
    std::uint16_t bpp;
    std::uint32_t compression;
    std::int32_t height; // the width comes from the rows
    std::vector<std::uint32_t> palette;
    std::vector<std::uint32_t> masks;
    Grid rows; // file order
    Grid expected;
    std::uint32_t colorsUsed = 0;
};

void PrintTo(const Variant& c, std::ostream* out) {
    *out << c.name;
}

class DecodeVariant : public testing::TestWithParam<Variant> {};

TEST_P(DecodeVariant, MatchesPixelForPixel) {
    const Variant& v = GetParam();
    Bmp bmp;
    bmp.headerSize = v.headerSize;
    bmp.bpp = v.bpp;
    bmp.compression = v.compression;
    bmp.width = static_cast<std::int32_t>(v.rows[0].size());
    bmp.height = v.height;
    bmp.palette = v.palette;
    bmp.colorsUsed = v.colorsUsed;
    bmp.masks = v.masks;
    bmp.pixels = PackRows(v.rows, v.bpp);
    EXPECT_EQ(Decode(bmp), v.expected);
}

constexpr std::uint32_t P0 = 0x112233, P1 = 0xAABBCC;
const Grid OneBitRows = {{1, 0, 0, 0, 0, 0, 0, 0, 1}, {0, 1, 1, 0, 0, 0, 0, 0, 0}};
const Grid OneBitExpected = {{P0, P1, P1, P0, P0, P0, P0, P0, P0}, {P1, P0, P0, P0, P0, P0, P0, P0, P1}};
const Grid RgbRows = {{R, G, B}, {W, 0x123456, K}};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Bmp, DecodeVariant, testing::Values(
    Variant{"Core1", 12, 1, 0, 2, {P0, P1}, {}, OneBitRows, OneBitExpected},
    Variant{"Info1", 40, 1, 0, 2, {P0, P1}, {}, OneBitRows, OneBitExpected},
    Variant{"Core4", 12, 4, 0, 2, Greys16(), {}, {{0x1, 0xF, 0x7}, {0x0, 0xA, 0x3}},
            {{0x000000, 0xAAAAAA, 0x333333}, {0x111111, 0xFFFFFF, 0x777777}}},
    // Index 5 is past the three colours used.
    Variant{"Info4ShortTable", 40, 4, 0, 1, {R, G, B}, {}, {{2, 0, 1, 5}}, {{B, R, G, K}}, 3},
    Variant{"Info8FullTable", 40, 8, 0, 1, Ramp256(), {}, {{0, 255, 128}}, {{0x00FF00, 0xFF007F, 0x807F40}}},
    Variant{"V5Indexed8TopDown", 124, 8, 0, -2, {R, B}, {}, {{0, 1}, {1, 1}}, {{R, B}, {B, B}}, 2},
    // The top bit of a 5-5-5 pixel is unused.
    Variant{"Info16Default555", 40, 16, 0, 1, {}, {}, {{0x7FFF, 0x4210, 0x0001, 0xFC00}},
            {{W, 0x848484, 0x000008, R}}},
    Variant{"Info16BitFields565", 40, 16, 3, 1, {}, {0xF800, 0x07E0, 0x001F}, {{0xF800, 0x07E0, 0x0841}},
            {{R, G, 0x080808}}},
    Variant{"V4BitFields565TopDown", 108, 16, 3, -1, {}, {0xF800, 0x07E0, 0x001F}, {{0xFFFF, 0x001F}}, {{W, B}}},
    Variant{"V2BitFields444", 52, 16, 3, 1, {}, {0x0F00, 0x00F0, 0x000F}, {{0x0F80, 0x0123}},
            {{0xFF8800, 0x112233}}},
    Variant{"Info24BottomUp", 40, 24, 0, 2, {}, {}, RgbRows, {{W, 0x123456, K}, {R, G, B}}},
    Variant{"Info24TopDown", 40, 24, 0, -2, {}, {}, RgbRows, {{R, G, B}, {W, 0x123456, K}}},
    Variant{"Core24", 12, 24, 0, 2, {}, {}, RgbRows, {{W, 0x123456, K}, {R, G, B}}},
    Variant{"Info32IgnoresTopByte", 40, 32, 0, 1, {}, {}, {{0xAA123456, 0x00FEDCBA}}, {{0x123456, 0xFEDCBA}}},
    Variant{"V3BitFieldsRgba", 56, 32, 3, 1, {}, {0xFF000000, 0xFF0000, 0xFF00, 0xFF}, {{0x12345678}}, {{0x123456}}},
    // Ten bits a channel keep their top eight.
    Variant{"InfoAlphaBitFields1010102", 40, 32, 6, 1, {}, {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000},
            {{0x3FF80000}}, {{0xFF8000}}},
    Variant{"V5UncompressedIgnoresMasks", 124, 32, 0, 1, {}, {0xFF, 0xFF00, 0xFF0000}, {{0x123456}}, {{0x123456}}}),
    [](const testing::TestParamInfo<Variant>& info) { return std::string(info.param.name); });
// clang-format on

// ---- RLE ----

struct RleCase {
    const char* name;
    std::uint32_t compression; // 1 RLE8, 2 RLE4
    std::int32_t width, height;
    fixtures::Bytes stream;
    Grid expected; // top row first
};

void PrintTo(const RleCase& c, std::ostream* out) {
    *out << c.name;
}

class DecodeRle : public testing::TestWithParam<RleCase> {};

TEST_P(DecodeRle, DrawsRunsAndLeavesTheRestBlack) {
    const RleCase& c = GetParam();
    Bmp bmp;
    bmp.bpp = c.compression == 1 ? 8 : 4;
    bmp.compression = c.compression;
    bmp.width = c.width;
    bmp.height = c.height;
    bmp.palette = c.compression == 1 ? std::vector<std::uint32_t>{0x101010, R, G, B} : Greys16();
    bmp.colorsUsed = static_cast<std::uint32_t>(bmp.palette.size());
    bmp.pixels = c.stream;
    EXPECT_EQ(Decode(bmp), c.expected);
}

constexpr std::uint32_t X0 = 0x101010; // palette entry 0: unvisited pixels must not take it

INSTANTIATE_TEST_SUITE_P(
    Bmp, DecodeRle,
    testing::Values(
        // Run, end of line; absolute (odd, padded), run, end of line; delta, run, end of bitmap, ignored
        // junk.
        RleCase{"Rle8Mixed",
                1,
                4,
                3,
                {3, 1, 0, 0, 0, 3, 2, 3, 0, 0, 1, 1, 0, 0, 0, 2, 1, 0, 2, 3, 0, 1, 5, 1},
                {{K, B, B, K}, {G, B, 0x101010, R}, {R, R, R, K}}},
        RleCase{"Rle8DeltaDown",
                1,
                4,
                3,
                {1, 1, 0, 2, 2, 1, 1, 2, 0, 0, 4, 3, 0, 1},
                {{B, B, B, B}, {K, K, K, G}, {R, K, K, K}}},
        RleCase{"Rle8ZeroIndex", 1, 2, 1, {2, 0, 0, 1}, {{X0, X0}}},
        RleCase{"Rle4RunsAndAbsolute",
                2,
                5,
                2,
                {5, 0x1A, 0, 0, 0, 3, 0x23, 0x40, 2, 0xF0, 0, 1},
                {{0x222222, 0x333333, 0x444444, W, K}, {0x111111, 0xAAAAAA, 0x111111, 0xAAAAAA, 0x111111}}},
        // Five nibbles take three bytes, padded to four.
        RleCase{"Rle4OddAbsolute",
                2,
                6,
                1,
                {0, 5, 0x12, 0x34, 0x50, 0, 1, 0xE0, 0, 1},
                {{0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0xEEEEEE}}},
        RleCase{"RunPastRightEdge", 1, 4, 2, {10, 1, 0, 0, 1, 2, 0, 1}, {{G, K, K, K}, {R, R, R, R}}},
        RleCase{"AbsolutePastRightEdgeKeepsPadding",
                1,
                4,
                2,
                {0, 5, 3, 3, 3, 3, 3, 0, 0, 0, 2, 2},
                {{G, G, K, K}, {B, B, B, B}}},
        RleCase{"Rle4RunPastRightEdge", 2, 3, 1, {9, 0x12, 0, 1}, {{0x111111, 0x222222, 0x111111}}},
        RleCase{
            "DeltaPastRightEdge", 1, 4, 2, {0, 2, 200, 0, 2, 1, 0, 0, 1, 2}, {{G, K, K, K}, {K, K, K, K}}},
        RleCase{"DeltaPastBottom", 1, 4, 2, {1, 1, 0, 2, 0, 250, 4, 3}, {{K, K, K, K}, {R, K, K, K}}},
        RleCase{"EndOfLinePastBottom", 1, 2, 2, {0, 0, 0, 0, 0, 0, 2, 1}, {{K, K}, {K, K}}},
        RleCase{"CutInsideAbsolute", 1, 4, 2, {1, 2, 0, 4, 1, 1}, {{K, K, K, K}, {G, R, R, K}}},
        RleCase{"CutInsideDelta", 1, 2, 1, {1, 3, 0, 2, 1}, {{B, K}}},
        RleCase{"NoEndOfBitmap", 1, 2, 2, {2, 1, 0, 0, 2, 2}, {{G, G}, {R, R}}}),
    [](const testing::TestParamInfo<RleCase>& info) { return std::string(info.param.name); });

// ---- Layout details ----

TEST(Bmp, PixelDataStartsAtTheOffsetInTheFileHeader) {
    Bmp bmp;
    bmp.pixels = PackRows({{0x123456}}, 24);
    bmp.offBits = 14 + 40 + 10; // ten bytes of gap that must not be read as pixels
    EXPECT_EQ(Decode(bmp), (Grid{{0x123456}}));
}

TEST(Bmp, ZeroOffsetMeansPixelsFollowTheColourTable) {
    Bmp bmp;
    bmp.bpp = 8;
    bmp.colorsUsed = 2;
    bmp.palette = {R, G};
    bmp.pixels = PackRows({{1, 0}}, 8);
    bmp.width = 2;
    bmp.offBits = 0;
    EXPECT_EQ(Decode(bmp), (Grid{{G, R}}));
}

TEST(Bmp, PixelsStartingInsideTheTableCutItShort) {
    Bmp bmp;
    bmp.bpp = 8;
    bmp.colorsUsed = 0; // claims 256 colours, but the pixels start after two
    bmp.palette = {R, G};
    bmp.pixels = PackRows({{1, 0, 2}}, 8);
    bmp.width = 3;
    EXPECT_EQ(Decode(bmp), (Grid{{G, R, K}}));
}

TEST(Bmp, TooManyColoursUsedIsClampedToTheDepth) {
    Bmp bmp;
    bmp.bpp = 1;
    bmp.colorsUsed = 1000;
    bmp.palette = {R, G};
    bmp.pixels = PackRows({{1, 0}}, 1);
    bmp.width = 2;
    EXPECT_EQ(Decode(bmp), (Grid{{G, R}}));
}

TEST(Bmp, ExtraBytesAfterThePixelsAreIgnored) {
    Bmp bmp;
    bmp.pixels = PackRows({{0xABCDEF}}, 24);
    bmp.pixels.resize(bmp.pixels.size() + 100, 0x77);
    EXPECT_EQ(Decode(bmp), (Grid{{0xABCDEF}}));
}

// Qt's own reader as a second opinion on complete, well-formed files of odd sizes. Not 16 bits: Qt
// leaves a full 5-bit channel at 248, where we scale it to 255.
TEST(Bmp, AgreesWithQtOnWellFormedFiles) {
    for (const std::uint16_t bpp : {1, 4, 8, 24, 32}) {
        for (const std::int32_t height : {23, -23}) {
            SCOPED_TRACE(testing::Message() << bpp << " bits, height " << height);
            Grid rows(23);
            std::uint32_t seed = 12345;
            for (auto& row : rows) {
                for (int x = 0; x < 37; ++x) {
                    seed = seed * 1103515245 + 12345;
                    row.push_back((seed >> 8) & (bpp == 32 ? 0xFFFFFF : (1u << std::min<int>(bpp, 24)) - 1));
                }
            }
            Bmp bmp;
            bmp.width = 37;
            bmp.height = height;
            bmp.bpp = bpp;
            if (bpp <= 8) {
                bmp.palette = Ramp256();
                bmp.palette.resize(std::size_t{1} << bpp);
            }
            bmp.pixels = PackRows(rows, bpp);
            const auto file = fixtures::EncodeBmp(bmp);
            const QImage theirs = QImage::fromData(file.data(), static_cast<int>(file.size()), "BMP");
            ASSERT_FALSE(theirs.isNull());
            EXPECT_EQ(platform::DecodeBmp(file), theirs.convertToFormat(QImage::Format_RGB32));
        }
    }
}

TEST(Bmp, EmptyInputGivesANullImage) {
    EXPECT_TRUE(platform::DecodeBmp({}).isNull());
}

} // namespace
