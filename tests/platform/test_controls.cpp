#include "platform/Controls.h"
#include "platform/Fonts.h"

#include <QFontInfo>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QRgb background = qRgb(0, 128, 0);

// Controls on a window with a known palette, so that their pixels can be told apart.
class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, background);
        palette.setColor(QPalette::WindowText, Qt::black);
        palette.setColor(QPalette::Light, qRgb(250, 0, 0));
        palette.setColor(QPalette::Dark, qRgb(0, 0, 250));
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        window.resize(300, 200);
        label.setFont(platform::MakeFont("Arial", 16));
    }

    QImage Rendered() {
        QImage image(label.size(), QImage::Format_RGB32);
        image.fill(background);
        label.render(&image, {}, {}, QWidget::RenderFlags());
        return image;
    }

    // `text` drawn plainly with the label's font, on a canvas `width` wide.
    QImage Reference(const QString& text, int flags, int width) {
        QImage image(width, label.height(), QImage::Format_RGB32);
        image.fill(background);
        QPainter painter(&image);
        painter.setFont(label.font());
        painter.drawText(image.rect(), flags | Qt::TextSingleLine, text);
        return image;
    }

    static int Ink(const QImage& image, int y, int fromX, int toX) {
        int ink = 0;
        for (int x = fromX; x < std::min(toX, image.width()); ++x) {
            ink += image.pixel(x, y) != background ? 1 : 0;
        }
        return ink;
    }

    QWidget window;
    platform::TLabel label{&window, "LOpis", {10, 20, 120, 24}, "opis miejsca"};
};

TEST_F(ControlsTest, ALabelUnderlinesTheCharacterAfterAnAmpersandOnly) {
    label.SetCaption("&Okno");
    const QImage shown = Rendered();
    const QImage plain = Reference("Okno", Qt::AlignLeft, label.width());
    const int o = label.fontMetrics().horizontalAdvance("O");
    int underlineRows = 0;
    for (int y = label.fontMetrics().ascent(); y < label.height(); ++y) {
        if (Ink(shown, y, 0, o) >= o / 2 && Ink(plain, y, 0, o) == 0) {
            ++underlineRows;
            EXPECT_EQ(Ink(shown, y, o + 2, label.width()), 0) << "underline past the O in row " << y;
        }
    }
    EXPECT_GE(underlineRows, 1);
}

TEST_F(ControlsTest, ALabelDrawsADoubleAmpersandAsOneAndNamesItselfByItsVisibleText) {
    label.SetCaption("Tom && Jerry");
    EXPECT_EQ(Rendered(), Reference("Tom & Jerry", Qt::AlignLeft, label.width()));
    EXPECT_EQ(label.accessibleName(), "Tom & Jerry");
    label.SetCaption("&Idź");
    EXPECT_EQ(label.accessibleName(), QString::fromUtf8("Idź"));
    EXPECT_EQ(label.accessibleDescription(), "opis miejsca");
    EXPECT_EQ(label.geometry(), QRect(10, 20, 120, 24));
    EXPECT_EQ(label.focusPolicy(), Qt::NoFocus);
}

TEST_F(ControlsTest, ATooLongLabelShowsItsEndWhenRightAlignedAndItsStartOtherwise) {
    const QString text = QString::fromUtf8("Początek bardzo długiego tekstu, KONIEC");
    label.SetCaption(text);
    const int full = label.fontMetrics().boundingRect(text).width() + 20;
    label.SetAlignment(Qt::AlignRight | Qt::AlignTop);
    EXPECT_EQ(Rendered(),
              Reference(text, Qt::AlignRight, full).copy(full - label.width(), 0, label.width(), 24));
    label.SetAlignment(Qt::AlignLeft | Qt::AlignTop);
    EXPECT_EQ(Rendered(), Reference(text, Qt::AlignLeft, full).copy(0, 0, label.width(), 24));
}

TEST_F(ControlsTest, ABevelIsARaisedOnePixelFrameWithAnUnpaintedInside) {
    const platform::TBevel bevel(&window, "Bevel1", {10, 50, 50, 30});
    const QImage image = window.grab().toImage();
    const QRgb light = window.palette().color(QPalette::Light).rgb();
    const QRgb dark = window.palette().color(QPalette::Dark).rgb();
    EXPECT_EQ(
        (std::vector{image.pixel(30, 50), image.pixel(10, 65), image.pixel(30, 79), image.pixel(59, 65)}),
        (std::vector{light, light, dark, dark}));
    EXPECT_EQ((std::vector{image.pixel(30, 65), image.pixel(30, 51), image.pixel(9, 65)}),
              (std::vector{background, background, background}));
    EXPECT_TRUE(bevel.testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(ControlsTest, APaintBoxRunsOnPaintOnOutsideRepaintsButNotAfterDrawn) {
    platform::TPaintBox box(&window, "PBObraz", {20, 30, 40, 25});
    EXPECT_EQ(box.Canvas().size(), QSize(40, 25));
    int onPaints = 0;
    box.OnPaint = [&] {
        ++onPaints;
        box.Canvas().fill(Qt::yellow);
    };
    const auto shown = [&] { return QColor(window.grab().toImage().pixel(40, 40)); };
    box.Canvas().fill(Qt::red);
    EXPECT_EQ(shown(), Qt::yellow);
    EXPECT_EQ(onPaints, 1);
    box.Canvas().fill(Qt::red);
    box.Drawn();
    EXPECT_EQ(shown(), Qt::red);
    EXPECT_EQ(onPaints, 1);
    EXPECT_EQ(shown(), Qt::yellow);
    EXPECT_EQ(onPaints, 2);
    box.OnPaint = [] { throw std::runtime_error("rysowanie"); };
    EXPECT_EQ(shown(), Qt::yellow) << "a throwing OnPaint still shows the canvas";
}

using FontCase = std::pair<const char*, const char*>;
class FontTest : public ::testing::TestWithParam<FontCase> {};

TEST_P(FontTest, DesignFontsResolveToInstalledOnesAtAPixelHeight) {
    platform::InstallFontSubstitutions();
    const QFontInfo info(platform::MakeFont(GetParam().first, 17));
    EXPECT_EQ(info.family(), GetParam().second);
    EXPECT_EQ(info.pixelSize(), 17);
}

INSTANTIATE_TEST_SUITE_P(Families, FontTest,
                         ::testing::Values(FontCase{"System", "Liberation Sans"},
                                           FontCase{"Arial", "Liberation Sans"},
                                           FontCase{"Times New Roman", "Liberation Serif"}),
                         [](const auto& info) {
                             return QString(info.param.first).remove(u' ').toStdString();
                         });

} // namespace
