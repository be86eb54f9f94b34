// The game window itself: its controls, showing and hiding it, and what survives from one game to the next.
#include "platform/ProgramWindows.h"
#include "tests/game/GameFixture.h"

#include "scenario/IoError.h"
#include "scenario/StepReader.h"
#include "tests/support/Waits.h"

#include <QTest>

namespace gametest {
namespace {

using Buttons = std::array<bool, 4>;

struct ControlCase {
    const char* name;
    QRect place;
    const char* family;
    int pixelHeight;
};

void PrintTo(const ControlCase& c, std::ostream* out) {
    *out << c.name;
}

class Layout : public GameTest, public testing::WithParamInterface<ControlCase> {};

TEST_P(Layout, ControlHasItsPlaceAndFont) {
    const ControlCase c = GetParam();
    auto* control = game->findChild<QWidget*>(c.name);
    ASSERT_NE(control, nullptr) << c.name;
    EXPECT_EQ(control->geometry(), c.place);
    if (c.family != nullptr) {
        EXPECT_EQ(control->font().family(), c.family);
        EXPECT_EQ(control->font().pixelSize(), c.pixelHeight);
    }
}

INSTANTIATE_TEST_SUITE_P(Controls, Layout,
                         testing::Values(ControlCase{"BuWyjscie", {360, 280, 74, 25}, "Times New Roman", 16},
                                         ControlCase{"BuWybor1", {16, 180, 33, 29}, "Arial", 13},
                                         ControlCase{"BuWybor2", {16, 212, 33, 29}, "Arial", 13},
                                         ControlCase{"BuWybor3", {16, 244, 33, 29}, "Arial", 13},
                                         ControlCase{"BuWybor4", {16, 276, 33, 29}, "Arial", 13},
                                         ControlCase{"LaWybor1", {60, 188, 293, 19}, "Times New Roman", 13},
                                         ControlCase{"LaWybor2", {60, 220, 293, 19}, "Times New Roman", 13},
                                         ControlCase{"LaWybor3", {60, 252, 293, 19}, "Times New Roman", 13},
                                         ControlCase{"LaWybor4", {60, 284, 293, 15}, "Times New Roman", 13},
                                         ControlCase{"MeOpis", {16, 16, 241, 145}, "Times New Roman", 15},
                                         ControlCase{"PaObrazek", {288, 24, 128, 128}, nullptr, 0},
                                         ControlCase{"Bevel1", {280, 16, 145, 145}, nullptr, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GameTest, WindowAtCreation) {
    EXPECT_EQ(game->windowTitle(), "Gra");
    EXPECT_EQ(game->size(), QSize(439, 318));
    EXPECT_FALSE(game->isVisible());
    EXPECT_EQ(Enabled(), (Buttons{true, true, true, true}));
    EXPECT_EQ(game->BuWyjscie->text(), "&Wyjście");
    EXPECT_EQ(game->BuWybor3->text(), "3");
    ASSERT_NE(scenario::AktKrok, nullptr);
    EXPECT_TRUE(scenario::AktKrok->Opis.empty());
    EXPECT_TRUE(game->MeOpis->isReadOnly());
    EXPECT_EQ(game->MeOpis->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(GameTest, TabOrderRunsFromExitThroughTheChoicesToTheDescription) {
    QWidget* expected[] = {game->BuWyjscie, game->BuWybor1, game->BuWybor2,
                           game->BuWybor3,  game->BuWybor4, game->MeOpis};
    for (int i = 0; i + 1 < 6; ++i) {
        QWidget* next = expected[i]->nextInFocusChain();
        while (next != nullptr && !(next->focusPolicy() & Qt::TabFocus)) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next, expected[i + 1]) << i;
    }
}

TEST_F(GameTest, ReaderHearsTheStep) {
    EXPECT_EQ(game->BuWybor2->accessibleName(), QString::fromUtf8("Wybór 2"));
    EXPECT_EQ(game->BuWyjscie->accessibleName(), QString::fromUtf8("Wyjście"));
    EXPECT_EQ(game->MeOpis->accessibleName(), "Opis");
    EXPECT_EQ(game->LaWybor3->accessibleDescription(), "Tekst wyboru 3");
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), StepNamed("start", 3, {1, 1, 1, 1})});
    Start();
    EXPECT_EQ(game->LaWybor1->accessibleName(), "start 1");
}

TEST_F(GameTest, FocusGoesToExitWhenTheWindowIsFirstActivated) {
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), StepNamed("start", 3, {1, 1, 1, 1})});
    Start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(game.get(), fixtures::kWaitMs));
    EXPECT_EQ(QApplication::focusWidget(), game->BuWyjscie);
}

TEST_F(GameTest, ExitShowsTheMenuAndLetsTheSoundPlayOn) {
    fixtures::Step start = StepNamed("start", 3, {1, 1, 1, 1});
    start.wav = "ptak.wav";
    WriteFile("Dzwieki/ptak.wav", {1});
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), start});
    Start();
    ASSERT_TRUE(player.playing);
    QTest::mouseClick(game->BuWyjscie, Qt::LeftButton);
    EXPECT_FALSE(game->isVisible());
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->shows, 1);
    EXPECT_TRUE(player.playing);
    // Both files were closed by hiding the window.
    EXPECT_THROW(scenario::GoToStep(), scenario::InOutError);
}

TEST_F(GameTest, ClosingTheWindowIsLikeExit) {
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), StepNamed("start", 3, {1, 1, 1, 1})});
    Start();
    game->close();
    ProcessEvents();
    EXPECT_FALSE(game->isVisible());
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join("; ").toStdString();
    EXPECT_THROW(scenario::GoToStep(), scenario::InOutError);
}

TEST_F(GameTest, ShowingAgainReplaysFromStepOneAndStopsTheOldSound) {
    fixtures::Step start = StepNamed("start", 3, {2, 2, 2, 2});
    fixtures::Step hub = StepNamed("hub", 1, {1, 1, 1, 1});
    hub.wav = "ptak.wav";
    WriteFile("Dzwieki/ptak.wav", {1});
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), start, hub});
    Start();
    Click(1);
    ASSERT_EQ(Enabled(), (Buttons{true, true, true, true}));
    game->BuWyjscieClick();
    ASSERT_TRUE(player.playing);

    Start();
    EXPECT_FALSE(player.playing);
    EXPECT_EQ(scenario::NrKroku, 1);
    EXPECT_EQ(game->MeOpis->toPlainText(), "Opis start");
    EXPECT_EQ(Enabled(), (Buttons{true, false, false, false}));
}

TEST_F(GameTest, LeavingAStepStopsItsSoundAtOnceEvenWhenTheNextHasNone) {
    fixtures::Step start = StepNamed("start", 3, {2, 2, 2, 2});
    start.wav = "ptak.wav";
    WriteFile("Dzwieki/ptak.wav", {1});
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), start, StepNamed("cisza", 3, {1, 1, 1, 1})});
    Start();
    ASSERT_TRUE(player.playing);
    Click(1);
    EXPECT_FALSE(player.playing);
    EXPECT_EQ(player.calls.last(), "close");
}

TEST_F(GameTest, DestroyingTheWindowEndsTheSound) {
    fixtures::Step start = StepNamed("start", 3, {1, 1, 1, 1});
    start.wav = "ptak.wav";
    WriteFile("Dzwieki/ptak.wav", {1});
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), start});
    Start();
    game->Hide();
    ASSERT_TRUE(player.playing);
    platform::FoRpgGra = nullptr;
    game.reset();
    EXPECT_FALSE(player.playing);
    game = std::make_unique<::game::TFoRpgGra>(messages, player);
}

} // namespace
} // namespace gametest
