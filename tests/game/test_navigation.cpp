// The four choice buttons: where each leads, which buttons a step type enables, and the end of the game.
#include "tests/game/GameFixture.h"

#include "scenario/StepReader.h"

namespace gametest {
namespace {

using Buttons = std::array<bool, 4>;

struct TypeCase {
    int typ;
    Buttons before;
    Buttons after;
};

void PrintTo(const TypeCase& c, std::ostream* out) {
    *out << "Typ" << c.typ;
}

class ApplyChoiceButtonsTest : public GameTest, public testing::WithParamInterface<TypeCase> {};

TEST_P(ApplyChoiceButtonsTest, SetsTheButtonsTheTypeOffers) {
    const TypeCase c = GetParam();
    QPushButton* buttons[] = {game->BuWybor1, game->BuWybor2, game->BuWybor3, game->BuWybor4};
    for (int i = 0; i < 4; ++i) {
        buttons[i]->setEnabled(c.before[i]);
    }
    game->ApplyChoiceButtons(static_cast<std::uint8_t>(c.typ));
    EXPECT_EQ(Enabled(), c.after);
}

constexpr Buttons Mixed{false, true, false, true};

INSTANTIATE_TEST_SUITE_P(EveryType, ApplyChoiceButtonsTest,
                         testing::Values(TypeCase{0, Mixed, {true, false, false, false}},
                                         TypeCase{1, Mixed, {true, true, true, true}},
                                         TypeCase{2, Mixed, {false, false, false, false}},
                                         TypeCase{3, Mixed, {true, false, false, false}},
                                         TypeCase{4, Mixed, {true, true, false, false}},
                                         TypeCase{5, Mixed, {true, true, true, false}},
                                         TypeCase{6, Mixed, Mixed},
                                         TypeCase{7, {true, true, true, true}, {true, true, true, true}},
                                         TypeCase{255, Mixed, Mixed}),
                         [](const auto& info) { return "Typ" + std::to_string(info.param.typ); });

// Record 1 leads by choice 1 to a hub of type 1 whose four choices lead to records 3 to 6.
std::vector<fixtures::Step> Hub(std::uint8_t typOfTargets) {
    return {StepNamed("zero", 3, {1, 1, 1, 1}),         StepNamed("start", 3, {2, 2, 2, 2}),
            StepNamed("hub", 1, {3, 4, 5, 6}),          StepNamed("a", typOfTargets, {2, 2, 2, 2}),
            StepNamed("b", typOfTargets, {2, 2, 2, 2}), StepNamed("c", typOfTargets, {2, 2, 2, 2}),
            StepNamed("d", typOfTargets, {2, 2, 2, 2})};
}

class EachButton : public GameTest, public testing::WithParamInterface<int> {};

TEST_P(EachButton, FollowsItsOwnTarget) {
    WriteScenario(Hub(1));
    Start();
    Click(1);
    ASSERT_EQ(scenario::AktKrok->Nazwa, "hub");
    Click(GetParam());
    EXPECT_EQ(scenario::NrKroku, 2 + GetParam());
    const char* names[] = {"a", "b", "c", "d"};
    EXPECT_EQ(scenario::AktKrok->Nazwa, names[GetParam() - 1]);
    EXPECT_EQ(game->MeOpis->toPlainText().toStdString(), std::string("Opis ") + names[GetParam() - 1]);
}

INSTANTIATE_TEST_SUITE_P(Buttons, EachButton, testing::Values(1, 2, 3, 4),
                         [](const auto& info) { return "Button" + std::to_string(info.param); });

TEST_F(GameTest, StepOneOffersOnlyTheFirstChoiceWhateverItsType) {
    for (std::uint8_t typ : {1, 2, 5}) {
        WriteScenario({StepNamed("zero", 1, {1, 1, 1, 1}), StepNamed("start", typ, {1, 1, 1, 1})});
        Start();
        EXPECT_EQ(Enabled(), (Buttons{true, false, false, false})) << int(typ);
        EXPECT_TRUE(messages.messages.isEmpty()) << "an end-type step 1 does not end the game";
        game->Hide();
    }
}

TEST_F(GameTest, StepTypeOfTheStepReachedDecidesTheButtons) {
    WriteScenario(Hub(4));
    Start();
    Click(1);
    EXPECT_EQ(Enabled(), (Buttons{true, true, true, true}));
    Click(3);
    EXPECT_EQ(Enabled(), (Buttons{true, true, false, false}));
}

TEST_F(GameTest, TypeSevenKeepsTheButtonsOfTheStepBefore) {
    WriteScenario(Hub(7));
    Start();
    Click(1);
    Click(4);
    EXPECT_EQ(scenario::AktKrok->Nazwa, "d");
    EXPECT_EQ(Enabled(), (Buttons{true, true, true, true}));
}

TEST_F(GameTest, EndStepIsPresentedThenDisablesAllButtonsAndSaysSoOnce) {
    fixtures::Step end = StepNamed("koniec", 2, {0, 0, 0, 0});
    end.wav = "fanfara.wav";
    WriteFile("Dzwieki/fanfara.wav", {1, 2, 3});
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), StepNamed("start", 3, {2, 2, 2, 2}), end});
    Buttons atMessage{};
    QString descriptionAtMessage;
    messages.onBox = [&](const QString&) {
        atMessage = Enabled();
        descriptionAtMessage = game->MeOpis->toPlainText();
    };
    Start();
    Click(1);
    EXPECT_EQ(messages.log, QStringList{"message: To juz koniec gry"});
    EXPECT_EQ(atMessage, (Buttons{false, false, false, false}));
    EXPECT_EQ(descriptionAtMessage, "Opis koniec");
    // The end step stays on the window and its sound plays on.
    EXPECT_EQ(Enabled(), (Buttons{false, false, false, false}));
    EXPECT_EQ(game->LaWybor1->Caption(), "koniec 1");
    EXPECT_TRUE(player.playing);
}

TEST_F(GameTest, ChoiceLeadingToTheCurrentStepPresentsItAgainAndRestartsItsSound) {
    fixtures::Step loop = StepNamed("petla", 1, {1, 1, 1, 1});
    loop.wav = "dzwon.wav";
    WriteFile("Dzwieki/dzwon.wav", {1});
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), loop});
    Start();
    player.calls.clear();
    Click(1);
    EXPECT_EQ(scenario::NrKroku, 1);
    EXPECT_EQ(game->MeOpis->toPlainText(), "Opis petla");
    EXPECT_EQ(player.calls, (QStringList{"close", "open Dzwieki/dzwon.wav", "play"}));
}

TEST_F(GameTest, TargetZeroPresentsRecordZero) {
    WriteScenario({StepNamed("zero", 5, {1, 1, 1, 1}), StepNamed("start", 3, {0, 0, 0, 0})});
    Start();
    Click(1);
    EXPECT_EQ(scenario::NrKroku, 0);
    EXPECT_EQ(scenario::AktKrok->Nazwa, "zero");
    EXPECT_EQ(Enabled(), (Buttons{true, true, true, false}));
}

TEST_F(GameTest, ChoiceWithEmptyTextIsStillFollowed) {
    fixtures::Step start = StepNamed("start", 3, {2, 2, 2, 2});
    start.wybory = {"", "", "", ""};
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), start, StepNamed("dalej", 3, {1, 1, 1, 1})});
    Start();
    Click(1);
    EXPECT_EQ(scenario::AktKrok->Nazwa, "dalej");
}

} // namespace
} // namespace gametest
