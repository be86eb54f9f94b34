#include "platform/bitmap/Canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Art = std::vector<std::string>;

constexpr QRgb White = 0xFFFFFFFF, Black = 0xFF000000, Red = 0xFFFF0000;

QImage Blank(int width, int height) {
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(White);
    return canvas;
}

// '.' white, 'k' black, 'r' red, '?' anything else.
Art Draw(const QImage& canvas) {
    Art art;
    for (int y = 0; y < canvas.height(); ++y) {
        std::string row;
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb p = canvas.pixel(x, y);
            row += p == White ? '.' : p == Black ? 'k' : p == Red ? 'r' : '?';
        }
        art.push_back(row);
    }
    return art;
}

struct RectCase {
    const char* name;
    int left, top, right, bottom;
    Art expected; // on a 6 x 5 white canvas
};

void PrintTo(const RectCase& c, std::ostream* out) {
    *out << c.name;
}

class RectangleDrawing : public testing::TestWithParam<RectCase> {};

TEST_P(RectangleDrawing, OutlinesInBlackAndFillsInside) {
    const RectCase& c = GetParam();
    QImage canvas = Blank(6, 5);
    platform::Rectangle(canvas, c.left, c.top, c.right, c.bottom, QColor(Qt::red));
    EXPECT_EQ(Draw(canvas), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Canvas, RectangleDrawing,
    testing::Values(
        RectCase{"RightAndBottomExclusive", 1, 1, 5, 5, {"......", ".kkkk.", ".krrk.", ".krrk.", ".kkkk."}},
        RectCase{"TooSmallForAnInside", 0, 0, 2, 2, {"kk....", "kk....", "......", "......", "......"}},
        RectCase{"OnePixelWide", 2, 1, 3, 4, {"......", "..k...", "..k...", "..k...", "......"}},
        RectCase{"ClippedAtTopLeft", -2, -1, 3, 3, {"rrk...", "rrk...", "kkk...", "......", "......"}},
        RectCase{"ClippedAtBottomRight", 4, 3, 9, 9, {"......", "......", "......", "....kk", "....kr"}},
        RectCase{"EmptyWhenRightIsLeft", 2, 1, 2, 4, {"......", "......", "......", "......", "......"}},
        RectCase{"EmptyWhenReversed", 4, 4, 1, 1, {"......", "......", "......", "......", "......"}},
        RectCase{"FarAway", -1000, -1000, -900, 3, {"......", "......", "......", "......", "......"}}),
    [](const testing::TestParamInfo<RectCase>& info) { return std::string(info.param.name); });

TEST(Canvas, RectangleOneBeyondEveryEdgeFillsTheWholeCanvas) {
    QImage canvas = Blank(128, 128);
    const QColor face(0x12, 0x34, 0x56);
    platform::Rectangle(canvas, -1, -1, 129, 129, face);
    QImage expected = Blank(128, 128);
    expected.fill(face);
    EXPECT_EQ(canvas, expected);
}

TEST(Canvas, RectangleSurvivesExtremeCoordinates) {
    QImage canvas = Blank(4, 4);
    platform::Rectangle(canvas, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, QColor(Qt::red));
    EXPECT_EQ(Draw(canvas), (Art{"rrrr", "rrrr", "rrrr", "rrrr"}));
}

// Every pixel a different colour, so that a copy shows which source pixel went where.
QImage Numbered(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x, y, 0x80));
        }
    }
    return image;
}

TEST(Canvas, CopyOfEqualSizeIsExact) {
    const QImage image = Numbered(64, 32);
    QImage canvas = Blank(64, 32);
    platform::CopyRect(canvas, QRect(0, 0, 64, 32), image, QRect(0, 0, 64, 32));
    EXPECT_EQ(canvas, image);
}

TEST(Canvas, CopyTakesOnlyTheSourceRect) {
    const QImage image = Numbered(10, 10);
    QImage canvas = Blank(4, 4);
    platform::CopyRect(canvas, QRect(1, 1, 2, 2), image, QRect(5, 6, 2, 2));
    EXPECT_EQ(canvas.pixel(0, 0), White);
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(5, 6, 0x80));
    EXPECT_EQ(canvas.pixel(2, 2), qRgb(6, 7, 0x80));
    EXPECT_EQ(canvas.pixel(3, 3), White);
}

TEST(Canvas, ShrinkingByOneColumnDropsOneInside) {
    const QImage image = Numbered(51, 1);
    QImage canvas = Blank(50, 1);
    platform::CopyRect(canvas, QRect(0, 0, 50, 1), image, QRect(0, 0, 51, 1));
    std::vector<int> columns;
    for (int x = 0; x < 50; ++x) {
        columns.push_back(qRed(canvas.pixel(x, 0)));
    }
    EXPECT_EQ(columns.front(), 0);
    EXPECT_EQ(columns.back(), 50);
    for (std::size_t i = 1; i < columns.size(); ++i) {
        EXPECT_GE(columns[i] - columns[i - 1], 1);
        EXPECT_LE(columns[i] - columns[i - 1], 2);
    }
}

TEST(Canvas, StretchingDoublesEveryPixel) {
    const QImage image = Numbered(2, 2);
    QImage canvas = Blank(4, 4);
    platform::CopyRect(canvas, QRect(0, 0, 4, 4), image, QRect(0, 0, 2, 2));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(canvas.pixel(x, y), image.pixel(x / 2, y / 2)) << x << "," << y;
        }
    }
}

TEST(Canvas, CopyHangingOverTheTopLeftIsClipped) {
    const QImage image = Numbered(200, 200);
    QImage canvas = Blank(128, 128);
    platform::CopyRect(canvas, QRect(-36, -36, 200, 200), image, QRect(0, 0, 200, 200));
    EXPECT_EQ(canvas, image.copy(36, 36, 128, 128));
}

TEST(Canvas, CopyOfZeroWidthOrHeightDrawsNothing) {
    const QImage image = Numbered(8, 8);
    QImage canvas = Blank(8, 8);
    platform::CopyRect(canvas, QRect(0, 0, 0, 8), image, QRect(0, 0, 8, 8));
    platform::CopyRect(canvas, QRect(0, 0, 8, 0), image, QRect(0, 0, 8, 8));
    EXPECT_EQ(canvas, Blank(8, 8));
}

TEST(Canvas, SourceOutsideTheImageLeavesTheCanvas) {
    const QImage image = Numbered(2, 1);
    QImage canvas = Blank(4, 1);
    platform::CopyRect(canvas, QRect(0, 0, 4, 1), image, QRect(-1, 0, 4, 1));
    EXPECT_EQ(canvas.pixel(0, 0), White);
    EXPECT_EQ(canvas.pixel(1, 0), image.pixel(0, 0));
    EXPECT_EQ(canvas.pixel(2, 0), image.pixel(1, 0));
    EXPECT_EQ(canvas.pixel(3, 0), White);
}

TEST(Canvas, CopyWithinOneImageReadsThePixelsBeforeTheCopy) {
    // No second QImage may share the pixels, or the copy would be taken from it.
    QImage canvas = Numbered(4, 1);
    const QRgb p0 = canvas.pixel(0, 0), p1 = canvas.pixel(1, 0), p2 = canvas.pixel(2, 0);
    platform::CopyRect(canvas, QRect(1, 0, 3, 1), canvas, QRect(0, 0, 3, 1));
    EXPECT_EQ(canvas.pixel(0, 0), p0);
    EXPECT_EQ(canvas.pixel(1, 0), p0);
    EXPECT_EQ(canvas.pixel(2, 0), p1);
    EXPECT_EQ(canvas.pixel(3, 0), p2);
}

} // namespace
