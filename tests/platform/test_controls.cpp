#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "tests/platform/Waits.h"

#include <QFontInfo>
#include <QPainter>
#include <gtest/gtest.h>

#include <ostream>

namespace {

const QColor background(0, 128, 0);

// A window with a known palette, so that pixels can be told apart.
class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, background);
        palette.setColor(QPalette::WindowText, Qt::black);
        palette.setColor(QPalette::Light, QColor(250, 0, 0));
        palette.setColor(QPalette::Dark, QColor(0, 0, 250));
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        window.resize(300, 200);
    }

    // What `widget` shows, on the window's background.
    static QImage Rendered(QWidget* widget) {
        QImage image(widget->size(), QImage::Format_RGB32);
        image.fill(background);
        widget->render(&image, {}, {}, QWidget::RenderFlags());
        return image;
    }

    // `text` drawn as the label would draw it, but on a canvas as wide as the text needs.
    static QImage Reference(const QWidget* label, const QString& text, int flags, int width) {
        QImage image(width, label->height(), QImage::Format_RGB32);
        image.fill(background);
        QPainter painter(&image);
        painter.setFont(label->font());
        painter.setPen(Qt::black);
        painter.drawText(image.rect(), flags, text);
        return image;
    }

    QWidget window;
};

// The columns in which two images differ.
QList<int> DifferentColumns(const QImage& a, const QImage& b) {
    QList<int> columns;
    for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
        for (int y = 0; y < std::min(a.height(), b.height()); ++y) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                columns << x;
                break;
            }
        }
    }
    return columns;
}

int InkIn(const QImage& image, int y, int fromX, int toX) {
    int ink = 0;
    for (int x = fromX; x < std::min(toX, image.width()); ++x) {
        ink += image.pixel(x, y) != background.rgb() ? 1 : 0;
    }
    return ink;
}

TEST_F(ControlsTest, ALabelUnderlinesTheCharacterAfterAnAmpersand) {
    platform::TLabel label(&window, "LPlik", {0, 0, 120, 24});
    label.setFont(platform::MakeFont("Arial", 16));
    label.SetCaption("&Okno");
    const QImage shown = Rendered(&label);
    const QImage plain = Reference(&label, "Okno", Qt::AlignLeft | Qt::AlignTop, label.width());
    const QFontMetrics metrics(label.font());
    const int w = metrics.horizontalAdvance("O");
    // The underline is a row below the baseline that the text alone leaves empty, under the O only.
    int underlineRows = 0;
    for (int y = metrics.ascent(); y < label.height(); ++y) {
        if (InkIn(shown, y, 0, w) >= w / 2 && InkIn(plain, y, 0, w) == 0) {
            ++underlineRows;
            EXPECT_EQ(InkIn(shown, y, w + 2, label.width()), InkIn(plain, y, w + 2, label.width())) << y;
        }
    }
    EXPECT_GE(underlineRows, 1);
}

TEST_F(ControlsTest, ALabelDrawsADoubleAmpersandAsOne) {
    platform::TLabel label(&window, "LTom", {0, 0, 160, 24});
    label.setFont(platform::MakeFont("Arial", 16));
    label.SetCaption("Tom && Jerry");
    const QImage single = Reference(&label, "Tom & Jerry", Qt::AlignLeft | Qt::AlignTop, label.width());
    EXPECT_TRUE(DifferentColumns(Rendered(&label), single).isEmpty());
}

TEST_F(ControlsTest, ALabelsAccessibleNameIsItsVisibleTextAndItsRoleTheDescription) {
    platform::TLabel label(&window, "LOpis", {0, 0, 100, 20}, "opis miejsca");
    label.SetCaption("&Idź && patrz");
    EXPECT_EQ(label.VisibleText(), QString::fromUtf8("Idź & patrz"));
    EXPECT_EQ(label.accessibleName(), label.VisibleText());
    EXPECT_EQ(label.accessibleDescription(), "opis miejsca");
    label.SetCaption("Inny");
    EXPECT_EQ(label.accessibleName(), "Inny");
    EXPECT_EQ(label.Caption(), "Inny");
}

TEST_F(ControlsTest, ALabelTakesItsPlaceAndNoFocus) {
    platform::TLabel label(&window, "LMiejsce", {10, 20, 100, 18});
    EXPECT_EQ(label.geometry(), QRect(10, 20, 100, 18));
    EXPECT_EQ(label.objectName(), "LMiejsce");
    EXPECT_EQ(label.focusPolicy(), Qt::NoFocus);
}

TEST_F(ControlsTest, ARightAlignedLabelShowsTheEndOfATooLongText) {
    platform::TLabel label(&window, "LDługi", {0, 0, 60, 20});
    label.setFont(platform::MakeFont("Arial", 14));
    const QString text = QString::fromUtf8("Początek bardzo długiego tekstu, KONIEC");
    label.SetCaption(text);
    label.SetAlignment(Qt::AlignRight | Qt::AlignTop);
    const int flags = Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine;
    const int full = QFontMetrics(label.font()).boundingRect(text).width() + 20;
    const QImage whole = Reference(&label, text, flags, full);
    const QImage end = whole.copy(full - label.width(), 0, label.width(), label.height());
    EXPECT_TRUE(DifferentColumns(Rendered(&label), end).isEmpty());

    label.SetAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QImage start = Reference(&label, text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, full)
                             .copy(0, 0, label.width(), label.height());
    EXPECT_TRUE(DifferentColumns(Rendered(&label), start).isEmpty());
}

TEST_F(ControlsTest, ABevelIsARaisedOnePixelFrameWithAnUnpaintedInside) {
    platform::TBevel bevel(&window, "Bevel1", {10, 10, 50, 30});
    window.show();
    const QImage image = window.grab().toImage();
    const QRgb light = window.palette().color(QPalette::Light).rgb();
    const QRgb dark = window.palette().color(QPalette::Dark).rgb();
    EXPECT_EQ(image.pixel(30, 10), light);            // top
    EXPECT_EQ(image.pixel(10, 25), light);            // left
    EXPECT_EQ(image.pixel(30, 39), dark);             // bottom
    EXPECT_EQ(image.pixel(59, 25), dark);             // right
    EXPECT_EQ(image.pixel(30, 25), background.rgb()); // inside
    EXPECT_EQ(image.pixel(30, 11), background.rgb());
    EXPECT_EQ(image.pixel(9, 25), background.rgb()); // outside
    EXPECT_TRUE(bevel.testAttribute(Qt::WA_TransparentForMouseEvents));
}

class PaintBoxTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        box = new platform::TPaintBox(&window, "PBObraz", {20, 30, 40, 25});
        box->OnPaint = [this] {
            ++onPaints;
            box->Canvas().fill(Qt::yellow);
        };
    }

    QRgb Shown() { return window.grab().toImage().pixel(40, 40); }

    platform::TPaintBox* box = nullptr;
    int onPaints = 0;
};

TEST_F(PaintBoxTest, HasACanvasOfItsSize) {
    EXPECT_EQ(box->Canvas().size(), QSize(40, 25));
    EXPECT_EQ(box->Canvas().format(), QImage::Format_RGB32);
    EXPECT_EQ(box->geometry(), QRect(20, 30, 40, 25));
}

TEST_F(PaintBoxTest, AnOutsideRepaintRunsOnPaintFirst) {
    EXPECT_EQ(Shown(), QColor(Qt::yellow).rgb());
    EXPECT_EQ(onPaints, 1);
    box->Canvas().fill(Qt::red);
    EXPECT_EQ(Shown(), QColor(Qt::yellow).rgb());
    EXPECT_EQ(onPaints, 2);
}

TEST_F(PaintBoxTest, APaintAfterDrawnShowsTheCanvasWithoutOnPaint) {
    box->Canvas().fill(Qt::red);
    box->Drawn();
    EXPECT_EQ(Shown(), QColor(Qt::red).rgb());
    EXPECT_EQ(onPaints, 0);
    EXPECT_EQ(Shown(), QColor(Qt::yellow).rgb());
    EXPECT_EQ(onPaints, 1);
}

TEST_F(PaintBoxTest, DrawnSchedulesARepaint) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    platform_tests::WaitUntil([] { return false; }, 50);
    const int before = onPaints;
    box->Canvas().fill(Qt::blue);
    box->Drawn();
    int painted = 0;
    struct Counter : QObject {
        int* count;
        explicit Counter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            *count += e->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter(&painted);
    box->installEventFilter(&counter);
    EXPECT_TRUE(platform_tests::WaitUntil([&] { return painted > 0; }, 2000));
    box->removeEventFilter(&counter);
    EXPECT_EQ(onPaints, before);
}

TEST_F(PaintBoxTest, AnExceptionFromOnPaintStaysInside) {
    box->OnPaint = [] { throw std::runtime_error("rysowanie"); };
    box->Canvas().fill(Qt::green);
    EXPECT_EQ(Shown(), QColor(Qt::green).rgb());
}

struct FontCase {
    const char* family;
    const char* resolved;
};

void PrintTo(const FontCase& c, std::ostream* os) {
    *os << c.family;
}

class FontTest : public ::testing::TestWithParam<FontCase> {};

TEST_P(FontTest, DesignFontsResolveToInstalledOnesAtAPixelHeight) {
    platform::InstallFontSubstitutions();
    const QFont font = platform::MakeFont(GetParam().family, 17);
    EXPECT_EQ(font.pixelSize(), 17);
    const QFontInfo info(font);
    EXPECT_EQ(info.family(), GetParam().resolved);
    EXPECT_EQ(info.pixelSize(), 17);
}

INSTANTIATE_TEST_SUITE_P(Families, FontTest,
                         ::testing::Values(FontCase{"System", "Liberation Sans"},
                                           FontCase{"Arial", "Liberation Sans"},
                                           FontCase{"Times New Roman", "Liberation Serif"}));

} // namespace
