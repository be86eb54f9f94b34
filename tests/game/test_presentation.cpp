// Presenting a step: texts, the centred picture, the sound, and the messages for missing files.
#include "tests/game/GameFixture.h"

#include "scenario/StepReader.h"
#include "tests/support/BmpFile.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace gametest {
namespace {

constexpr std::uint32_t Red = 0xFF0000;
constexpr std::uint32_t Blue = 0x0000FF;

std::vector<fixtures::Step> WithPicture(const std::string& bmp, const std::string& wav = {}) {
    fixtures::Step start = StepNamed("start", 3, {1, 1, 1, 1});
    start.bmp = bmp;
    start.wav = wav;
    return {StepNamed("zero", 3, {1, 1, 1, 1}), start};
}

// The painted extent of `colour` on the canvas: left, top, right, bottom (right and bottom exclusive).
QRect Extent(const QImage& canvas, QRgb colour) {
    int left = canvas.width(), top = canvas.height(), right = -1, bottom = -1;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if ((canvas.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

struct CentringCase {
    const char* name;
    int w, h;
    // Expected painted extent: left, top, right, bottom (exclusive).
    int left, top, right, bottom;
};

void PrintTo(const CentringCase& c, std::ostream* out) {
    *out << c.name;
}

class Centring : public GameTest, public testing::WithParamInterface<CentringCase> {};

TEST_P(Centring, PictureIsCentredOnTheMiddleOfTheArea) {
    const CentringCase c = GetParam();
    WritePicture("obraz.bmp", c.w, c.h, Red);
    WriteScenario(WithPicture("obraz.bmp"));
    Start();
    const QRect painted = Extent(game->PaObrazek->Canvas(), Red);
    EXPECT_EQ(painted.topLeft(), QPoint(c.left, c.top));
    EXPECT_EQ(painted.bottomRight(), QPoint(c.right, c.bottom));
    EXPECT_EQ(game->ObrazekRect, QRect(64 - c.w / 2, 64 - c.h / 2, 2 * (c.w / 2), 2 * (c.h / 2)));
    // Everything outside the picture keeps the button face.
    if (c.left > 0) {
        EXPECT_EQ(PixelAt(c.left - 1, 64), ButtonFace());
    }
    EXPECT_TRUE(messages.log.isEmpty()) << messages.log.join("; ").toStdString();
}

// QRect(QPoint, QPoint) is inclusive, so the expected extent's right/bottom are written exclusive here and
// compared against the same construction.
INSTANTIATE_TEST_SUITE_P(Sizes, Centring,
                         testing::Values(CentringCase{"FillsTheArea", 128, 128, 0, 0, 128, 128},
                                         CentringCase{"Small", 64, 32, 32, 48, 96, 80},
                                         CentringCase{"OddWidthOnePixelNarrower", 51, 20, 39, 54, 89, 74},
                                         CentringCase{"OddHeightOnePixelShorter", 20, 51, 54, 39, 74, 89},
                                         CentringCase{"OddBothOnePixelSmaller", 7, 9, 61, 60, 67, 68},
                                         CentringCase{"LargerIsCut", 200, 200, 0, 0, 128, 128}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GameTest, LargePictureIsCutNotScaled) {
    // Left half red, right half blue: a 200-wide picture shows its middle 128 columns unscaled.
    WriteFile("Obrazki/duzy.bmp", fixtures::Bmp24(200, 200, [](int x, int) { return x < 100 ? Red : Blue; }));
    WriteScenario(WithPicture("duzy.bmp"));
    Start();
    // The picture spans -36..164; its colour edge at x = 100 lands at 64.
    EXPECT_EQ(PixelAt(63, 10) & 0xFFFFFF, Red);
    EXPECT_EQ(PixelAt(64, 10) & 0xFFFFFF, Blue);
}

TEST_F(GameTest, StepWithoutPictureShowsAPlainAreaAndNoMessage) {
    WriteScenario(WithPicture(""));
    Start();
    EXPECT_EQ(Extent(game->PaObrazek->Canvas(), ButtonFace()), QRect(QPoint(0, 0), QPoint(128, 128)));
    EXPECT_TRUE(messages.log.isEmpty());
    EXPECT_TRUE(player.calls.isEmpty() || player.calls == QStringList{});
}

TEST_F(GameTest, EmptyPictureFileDrawsNothingAndSaysNothing) {
    WriteFile("Obrazki/pusty.bmp", {});
    WriteScenario(WithPicture("pusty.bmp"));
    Start();
    EXPECT_TRUE(messages.log.isEmpty()) << messages.log.join("; ").toStdString();
    EXPECT_EQ(game->ObrazekRect, QRect(64, 64, 0, 0));
    EXPECT_EQ(Extent(game->PaObrazek->Canvas(), ButtonFace()), QRect(QPoint(0, 0), QPoint(128, 128)));
}

TEST_F(GameTest, TextsShowTheStep) {
    fixtures::Step start = StepNamed("start", 3, {1, 1, 1, 1});
    start.opis = "Żółta ścieżka prowadzi do młyna.";
    start.wybory = {"Idź dalej", "Wróć", "", "Usiądź"};
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), start});
    Start();
    EXPECT_EQ(game->MeOpis->toPlainText(), QString::fromUtf8("Żółta ścieżka prowadzi do młyna."));
    EXPECT_EQ(game->LaWybor1->Caption(), "Idź dalej");
    EXPECT_EQ(game->LaWybor2->Caption(), "Wróć");
    EXPECT_EQ(game->LaWybor3->Caption(), "");
    EXPECT_EQ(game->LaWybor4->Caption(), "Usiądź");
}

// The description as laid out in its box, one string per line.
QStringList DescriptionLines(const QPlainTextEdit* box) {
    QStringList lines;
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        box->document()->documentLayout()->blockBoundingRect(block); // lays the block out
        const QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            EXPECT_LE(line.naturalTextWidth(), box->viewport()->width()) << i;
            lines << block.text().mid(line.textStart(), line.textLength());
        }
    }
    return lines;
}

TEST_F(GameTest, DescriptionWrapsAtWordsAndBreaksAWordWiderThanTheBox) {
    const std::string longWord(60, 'W');
    fixtures::Step start = StepNamed("start", 3, {1, 1, 1, 1});
    start.opis = "Ala " + longWord + " ma kota.";
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), start});
    Start();
    const QStringList lines = DescriptionLines(game->MeOpis);
    ASSERT_GE(lines.size(), 3) << lines.join('|').toStdString();
    EXPECT_EQ(lines.join(""), QString::fromStdString(start.opis)) << "nothing is cut";
    EXPECT_EQ(lines.first(), "Ala ");
    EXPECT_TRUE(lines.last().endsWith("ma kota.")) << lines.join('|').toStdString();
}

TEST_F(GameTest, AmpersandInAChoiceUnderlinesInsteadOfShowing) {
    fixtures::Step start = StepNamed("start", 3, {1, 1, 1, 1});
    start.wybory = {"&Tak", "Ala && kot", "", ""};
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), start});
    Start();
    EXPECT_EQ(game->LaWybor1->VisibleText(), "Tak");
    EXPECT_EQ(game->LaWybor2->VisibleText(), "Ala & kot");
    EXPECT_EQ(game->LaWybor1->accessibleName(), "Tak");
}

TEST_F(GameTest, MissingPictureAndSoundAreNamedInTheirMessages) {
    WriteScenario(WithPicture("a&b.bmp", "brak dźwięku.wav"));
    Start();
    EXPECT_EQ(messages.messages, (QStringList{"Nie masz obrazu \"a&b.bmp\"",
                                              QString::fromUtf8("Nie masz dzwieku \"brak dźwięku.wav\"")}));
    EXPECT_TRUE(player.calls.isEmpty());
}

TEST_F(GameTest, MessagesOfStepOneComeBeforeTheWindowIsVisible) {
    WriteScenario(WithPicture("brak.bmp"));
    bool visibleDuringMessage = true;
    messages.onBox = [&](const QString&) { visibleDuringMessage = game->isVisible(); };
    Start();
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_FALSE(visibleDuringMessage);
    EXPECT_TRUE(game->isVisible());
}

TEST_F(GameTest, SoundStartsOnlyAfterThePictureMessageIsDismissed) {
    WriteFile("Dzwieki/ptak.wav", {1});
    WriteScenario(WithPicture("brak.bmp", "ptak.wav"));
    QStringList callsDuringMessage;
    messages.onBox = [&](const QString&) { callsDuringMessage = player.calls; };
    Start();
    EXPECT_FALSE(callsDuringMessage.contains("play"));
    EXPECT_TRUE(player.playing);
    EXPECT_EQ(player.openPath, "Dzwieki/ptak.wav");
}

TEST_F(GameTest, MissingPictureIsReportedOnceAndNotOnRepaints) {
    WriteScenario(WithPicture("brak.bmp"));
    Start();
    game->PaObrazek->repaint();
    game->PaObrazek->repaint();
    EXPECT_EQ(messages.messages, QStringList{"Nie masz obrazu \"brak.bmp\""});
}

TEST_F(GameTest, RepaintReadsThePictureFileAgain) {
    WritePicture("zmienny.bmp", 16, 16, Red);
    WriteScenario(WithPicture("zmienny.bmp"));
    Start();
    EXPECT_EQ(PixelAt(64, 64) & 0xFFFFFF, Red);
    WritePicture("zmienny.bmp", 16, 16, Blue);
    game->PaObrazek->repaint();
    EXPECT_EQ(PixelAt(64, 64) & 0xFFFFFF, Blue);
}

TEST_F(GameTest, RepaintOfAPictureThatNoLongerLoadsShowsThePlainAreaAndSaysNothing) {
    WritePicture("psuje.bmp", 16, 16, Red);
    WriteScenario(WithPicture("psuje.bmp"));
    Start();
    WriteFile("Obrazki/psuje.bmp", {'X', 'Y', 'Z'});
    game->PaObrazek->repaint();
    game->PaObrazek->repaint();
    EXPECT_EQ(PixelAt(64, 64), ButtonFace());
    EXPECT_TRUE(messages.log.isEmpty());
    // The window still works.
    Click(1);
    EXPECT_EQ(scenario::NrKroku, 1);
}

struct LookupCase {
    const char* name;
    const char* onDisk;   // folder/name as stored on disk
    const char* inRecord; // name as the step gives it
};

void PrintTo(const LookupCase& c, std::ostream* out) {
    *out << c.name;
}

class CaseInsensitiveLookup : public GameTest, public testing::WithParamInterface<LookupCase> {};

TEST_P(CaseInsensitiveLookup, FindsTheFileWhateverTheLetterCase) {
    const LookupCase c = GetParam();
    std::filesystem::create_directories(dir / std::filesystem::path(c.onDisk).parent_path());
    WriteFile(c.onDisk, fixtures::Bmp24(8, 8, [](int, int) { return Red; }));
    WriteScenario(WithPicture(c.inRecord));
    Start();
    EXPECT_TRUE(messages.log.isEmpty()) << messages.log.join("; ").toStdString();
    EXPECT_EQ(PixelAt(64, 64) & 0xFFFFFF, Red);
}

INSTANTIATE_TEST_SUITE_P(Names, CaseInsensitiveLookup,
                         testing::Values(LookupCase{"UpperCaseFile", "Obrazki/LAS.BMP", "las.bmp"},
                                         LookupCase{"PolishLetters", "Obrazki/ŁĄKA.bmp", "łąka.bmp"},
                                         LookupCase{"BackslashFolder", "Obrazki/Las/Dab.bmp",
                                                    "las\\dab.bmp"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace gametest
