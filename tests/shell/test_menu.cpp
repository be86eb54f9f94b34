// The menu window: choosing a scenario, starting and leaving the game, and quitting.
#include "tests/shell/ShellFixture.h"

#include "tests/support/ScenarioWriter.h"
#include "tests/support/Waits.h"

#include <QDir>
#include <QTimer>

namespace shelltest {
namespace {

using Windows = std::array<bool, 3>;
constexpr Windows MenuOnly{true, false, false};
constexpr Windows GameOnly{false, true, false};
constexpr Windows CreditsOnly{false, false, true};

std::filesystem::path WriteStory(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    fixtures::Step zero, start, next;
    zero.opis = "zero";
    start.opis = "Początek";
    start.targets = {2, 2, 2, 2};
    start.typ = 3;
    next.opis = "Dalej";
    next.targets = {1, 1, 1, 1};
    const auto kro = folder / "las.Kro";
    fixtures::WriteScenario(kro, {zero, start, next});
    return kro;
}

struct ControlCase {
    const char* name;
    QRect place;
    const char* text;
    int pixelHeight;
    bool sizesItself = false;
};

void PrintTo(const ControlCase& c, std::ostream* out) {
    *out << c.name;
}

class MenuLayout : public ShellTest, public testing::WithParamInterface<ControlCase> {};

TEST_P(MenuLayout, ControlHasItsPlaceTextAndFont) {
    const ControlCase c = GetParam();
    auto* control = menu.findChild<QWidget*>(c.name);
    ASSERT_NE(control, nullptr);
    auto* label = qobject_cast<platform::TLabel*>(control);
    if (label != nullptr && c.sizesItself) {
        // The label keeps its place and takes the width its text needs, never less.
        EXPECT_EQ(control->pos(), c.place.topLeft());
        EXPECT_EQ(control->height(), c.place.height());
        EXPECT_GE(control->width(), label->fontMetrics().horizontalAdvance(label->VisibleText()));
    } else {
        EXPECT_EQ(control->geometry(), c.place);
    }
    EXPECT_EQ(control->font().family(), "Times New Roman");
    EXPECT_EQ(control->font().pixelSize(), c.pixelHeight);
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        EXPECT_EQ(button->text(), QString::fromUtf8(c.text));
    } else {
        EXPECT_EQ(static_cast<platform::TLabel*>(control)->Caption(), QString::fromUtf8(c.text));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Controls, MenuLayout,
    testing::Values(ControlCase{"BuStart", {85, 63, 89, 33}, "&Start:", 19},
                    ControlCase{"BuKoniec", {85, 157, 89, 33}, "&Koniec", 19},
                    ControlCase{"Label1", {9, 8, 38, 19}, "Menu:", 16, true},
                    ControlCase{"Label2", {41, 32, 192, 21}, "Witamy w grze  tekstowej", 19, true},
                    ControlCase{"Label3", {81, 202, 169, 15}, "<< Dzieki nim stało się to możliwe", 12, true},
                    ControlCase{"BuPlansza", {48, 122, 161, 33}, "Wybór Scenariusza", 19},
                    ControlCase{"BuTworcy", {0, 200, 49, 17}, "Twórcy", 13},
                    ControlCase{"Label4", {24, 96, 209, 15}, "", 13},
                    ControlCase{"Label14", {227, 0, 31, 14}, "V: 1.0 ", 11, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShellTest, StartUpShowsOnlyTheMenu) {
    EXPECT_EQ(menu.windowTitle(), "Menu");
    EXPECT_EQ(menu.size(), QSize(260, 218));
    EXPECT_TRUE(menu.IsMainForm());
    EXPECT_FALSE(gra.IsMainForm());
    EXPECT_EQ(Visible(), MenuOnly);
    EXPECT_TRUE(game::Scenariusz.isEmpty());
}

TEST_F(ShellTest, FocusGoesToStartWhenTheMenuIsFirstActivated) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&menu, fixtures::kWaitMs));
    EXPECT_EQ(QApplication::focusWidget(), menu.BuStart);
}

TEST_F(ShellTest, StartWithoutAScenarioAsksForOne) {
    Press(menu.BuStart);
    EXPECT_EQ(messages.messages, QStringList{"Wybierz Scenariusz"});
    EXPECT_EQ(Visible(), MenuOnly);
}

TEST_F(ShellTest, ChoosingAScenarioShowsItsPathAndMakesItsFolderCurrent) {
    const auto kro = WriteStory(dir / "Gry");
    dialog.nextChoice = QString::fromStdString(kro.string());
    Press(menu.BuPlansza);
    EXPECT_EQ(game::Scenariusz, QString::fromStdString(kro.string()));
    EXPECT_EQ(menu.Label4->Caption(), game::Scenariusz);
    EXPECT_EQ(QDir::currentPath(), QString::fromStdString((dir / "Gry").string()));
}

TEST_F(ShellTest, CancellingTheDialogKeepsTheEarlierChoice) {
    const auto kro = WriteStory(dir / "Gry");
    dialog.nextChoice = QString::fromStdString(kro.string());
    Press(menu.BuPlansza);
    dialog.nextChoice.clear();
    Press(menu.BuPlansza);
    EXPECT_EQ(dialog.executions, 2);
    EXPECT_EQ(game::Scenariusz, QString::fromStdString(kro.string()));
    EXPECT_EQ(menu.Label4->Caption(), game::Scenariusz);
}

TEST_F(ShellTest, StartExitStartAgainReplaysFromStepOne) {
    dialog.nextChoice = QString::fromStdString(WriteStory(dir / "Gry").string());
    Press(menu.BuPlansza);
    Press(menu.BuStart);
    EXPECT_EQ(Visible(), GameOnly);
    EXPECT_EQ(gra.MeOpis->toPlainText(), QString::fromUtf8("Początek"));
    Press(gra.BuWybor1);
    EXPECT_EQ(gra.MeOpis->toPlainText(), "Dalej");

    Press(gra.BuWyjscie);
    EXPECT_EQ(Visible(), MenuOnly);
    Press(menu.BuStart);
    EXPECT_EQ(Visible(), GameOnly);
    EXPECT_EQ(scenario::NrKroku, 1);
    EXPECT_EQ(gra.MeOpis->toPlainText(), QString::fromUtf8("Początek"));
    EXPECT_TRUE(gra.BuWybor1->isEnabled());
    EXPECT_FALSE(gra.BuWybor2->isEnabled());
    EXPECT_TRUE(messages.log.isEmpty()) << messages.log.join("; ").toStdString();
}

TEST_F(ShellTest, ScenarioThatFailsToOpenStillShowsTheGameWithAWayBack) {
    game::Scenariusz = QString::fromStdString((dir / "brak.Kro").string());
    Press(menu.BuStart);
    EXPECT_EQ(messages.errors, QStringList{"File not found."});
    EXPECT_EQ(Visible(), GameOnly);
    Press(gra.BuWyjscie);
    EXPECT_EQ(Visible(), MenuOnly);
}

TEST_F(ShellTest, LongPathKeepsItsEndInView) {
    const auto kro = WriteStory(dir / QString("bardzo-dluga-nazwa-folderu/").repeated(5).toStdString());
    dialog.nextChoice = QString::fromStdString(kro.string());
    Press(menu.BuPlansza);
    // The right end of the label must look exactly like a label holding only the file name.
    platform::TLabel reference(nullptr, "reference", menu.Label4->geometry());
    reference.setFont(menu.Label4->font());
    reference.SetAlignment(Qt::AlignRight | Qt::AlignTop);
    reference.SetCaption("/las.Kro");
    const QImage shown = menu.Label4->grab().toImage();
    const QImage expected = reference.grab().toImage();
    const auto ink = [](const QImage& image, int x0) {
        QString mask;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = x0; x < image.width(); ++x) {
                mask += qGray(image.pixel(x, y)) < 128 ? '#' : '.';
            }
            mask += '\n';
        }
        return mask;
    };
    ASSERT_EQ(shown.size(), expected.size());
    EXPECT_EQ(ink(shown, shown.width() - 40), ink(expected, expected.width() - 40));
    EXPECT_TRUE(ink(shown, shown.width() - 40).contains('#'));
    // And the beginning of the path is cut off: the left edge carries ink too.
    bool inkAtLeft = false;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < 4; ++x) {
            inkAtLeft = inkAtLeft || qGray(shown.pixel(x, y)) < 128;
        }
    }
    EXPECT_TRUE(inkAtLeft);
}

TEST_F(ShellTest, AmpersandInThePathUnderlinesTheNextCharacter) {
    const auto kro = WriteStory(dir / "Rock&Roll");
    dialog.nextChoice = QString::fromStdString(kro.string());
    Press(menu.BuPlansza);
    EXPECT_EQ(menu.Label4->Caption(), game::Scenariusz);
    EXPECT_FALSE(menu.Label4->VisibleText().contains('&'));
    EXPECT_TRUE(menu.Label4->VisibleText().endsWith("RockRoll/las.Kro"));
}

TEST_F(ShellTest, CreditsButtonSwapsTheMenuForTheCreditsAndRenamesThem) {
    EXPECT_EQ(lista.windowTitle(), "Lista");
    Press(menu.BuTworcy);
    EXPECT_EQ(Visible(), CreditsOnly);
    EXPECT_EQ(lista.windowTitle(), "Lista tworcow");
}

// Runs the event loop until the program terminates, or gives up after `ms`; returns the loop's exit code.
int RunLoopUntilTerminated(const std::function<void()>& action, int ms = 5000) {
    QTimer::singleShot(0, action);
    QTimer::singleShot(ms, [] { QCoreApplication::exit(99); });
    return QCoreApplication::exec();
}

TEST_F(ShellTest, KoniecEndsTheProgramEvenWhenTheCreditsWereNeverOpened) {
    EXPECT_EQ(RunLoopUntilTerminated([&] { menu.BuKoniec->click(); }), 0);
    EXPECT_TRUE(messages.log.isEmpty()) << messages.log.join("; ").toStdString();
}

TEST_F(ShellTest, KoniecDuringAGameNeverClosesTheScenarioTwice) {
    dialog.nextChoice = QString::fromStdString(WriteStory(dir / "Gry").string());
    Press(menu.BuPlansza);
    Press(menu.BuStart);
    ASSERT_EQ(Visible(), GameOnly);
    // Quit from the menu while the game's files are open: hide the game (closing the files once), then quit.
    EXPECT_EQ(RunLoopUntilTerminated([&] { menu.BuKoniec->click(); }), 0);
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join("; ").toStdString();
}

TEST_F(ShellTest, ClosingTheMenuEndsTheProgram) {
    EXPECT_EQ(RunLoopUntilTerminated([&] { menu.close(); }), 0);
}

} // namespace
} // namespace shelltest
