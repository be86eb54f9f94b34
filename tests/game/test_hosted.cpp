// The game window hosted by another program: a chosen start, the host called back on leaving, and the
// quiet window that draws a given step without sound, boxes, announcements or the scenario reader.
#include "tests/game/GameFixture.h"

#include "game/QuietGame.h"
#include "scenario/Cp1250.h"
#include "scenario/StepReader.h"
#include "tests/support/Waits.h"

#include <QTest>

namespace gametest {
namespace {

using Buttons = std::array<bool, 4>;

struct RecordingHost : ::game::GameHost {
    int left = 0;
    bool visibleWhenLeft = true;
    ::game::TFoRpgGra* window = nullptr;
    void GameLeft() override {
        ++left;
        visibleWhenLeft = window->isVisible();
    }
};

// Record 1 leads to a hub of type 1, whose choices lead to a step of type 4, one that carries the buttons
// over (type 7), an ending, and a record past the files' end.
std::vector<fixtures::Step> Story() {
    return {StepNamed("zero", 3, {1, 1, 1, 1}),
            StepNamed("start", 3, {2, 2, 2, 2}),
            StepNamed("hub", 1, {3, 4, 5, 99}, "hub.bmp", "hub.wav"),
            StepNamed("dwa", 4, {2, 5, 2, 2}),
            StepNamed("niesie", 7, {2, 3, 5, 2}),
            StepNamed("koniec", 2, {0, 0, 0, 0})};
}

class HostedGame : public GameTest {
  protected:
    HostedGame() {
        WriteScenario(Story());
        WritePicture("hub.bmp", 10, 10, 0x00ff00);
        WriteFile("Dzwieki/hub.wav", {'R', 'I', 'F', 'F'});
        host.window = game.get();
    }
    RecordingHost host;
};

struct StartCase {
    const char* name;
    std::int32_t step;
    int open;
    const char* opis;
    Buttons buttons;
    QStringList messages;
};

void PrintTo(const StartCase& c, std::ostream* out) {
    *out << c.name;
}

class StartsWhereTheHostSays : public HostedGame, public testing::WithParamInterface<StartCase> {};

TEST_P(StartsWhereTheHostSays, WithTheButtonsItGives) {
    const StartCase c = GetParam();
    game->SetHost(&host);
    game->SetStart(c.step, c.open);
    Start();
    EXPECT_EQ(game->MeOpis->toPlainText(), c.opis);
    EXPECT_EQ(Enabled(), c.buttons);
    EXPECT_EQ(game->ShownStep(), c.step);
    EXPECT_EQ(messages.messages, c.messages);
    EXPECT_TRUE(game->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Starts, StartsWhereTheHostSays,
    testing::Values(StartCase{"PlayersStart", 1, 1, "Opis start", {true, false, false, false}, {}},
                    StartCase{"Middle", 3, 4, "Opis dwa", {true, true, true, true}, {}},
                    StartCase{"CarriedOver", 4, 3, "Opis niesie", {true, true, true, false}, {}},
                    StartCase{
                        "Ending", 5, 0, "Opis koniec", {false, false, false, false}, {"To juz koniec gry"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostedGame, StartOnAStepWithMediaShowsItsPictureAndPlaysItsSound) {
    game->SetHost(&host);
    game->SetStart(2, 4);
    Start();
    EXPECT_EQ(PixelAt(64, 64), 0xff00ff00u);
    EXPECT_EQ(player.calls, (QStringList{"open Dzwieki/hub.wav", "play"}));
}

TEST_F(HostedGame, PlayGoesOnFromTheStartAsInThePlayer) {
    game->SetHost(&host);
    game->SetStart(4, 2);
    Start();
    Click(1);
    EXPECT_EQ(game->MeOpis->toPlainText(), "Opis hub");
    EXPECT_EQ(game->ShownStep(), 2);
    // Record 99 cannot be read: the display is cleared as in the player, and the hub stays the step last
    // shown, whose buttons still lead on.
    Click(4);
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(game->ShownStep(), 2);
    Click(3);
    EXPECT_EQ(game->ShownStep(), 5);
    EXPECT_EQ(messages.messages.last(), "To juz koniec gry");
    EXPECT_EQ(Enabled(), (Buttons{false, false, false, false}));
}

TEST_F(HostedGame, LeavingCallsTheHostAndNotTheMenu) {
    game->SetHost(&host);
    Start();
    QTest::mouseClick(game->BuWyjscie, Qt::LeftButton);
    EXPECT_EQ(host.left, 1);
    EXPECT_FALSE(host.visibleWhenLeft);
    EXPECT_EQ(menu->shows, 0);
    // Shown again, then closed by the window manager: the host again, and the window only hides.
    Start();
    game->close();
    ProcessEvents();
    EXPECT_EQ(host.left, 2);
    EXPECT_EQ(menu->shows, 0);
    EXPECT_FALSE(game->isVisible());
    EXPECT_FALSE(game->IsMainForm());
}

TEST_F(HostedGame, WithoutAHostLeavingShowsTheMenu) {
    Start();
    QTest::mouseClick(game->BuWyjscie, Qt::LeftButton);
    EXPECT_EQ(menu->shows, 1);
    EXPECT_EQ(host.left, 0);
}

TEST_F(HostedGame, MediaAreFoundInTheHostsFolder) {
    // The scenario's folder is not the current one: the host names where its media lie.
    const fixtures::TempDir elsewhere;
    const fixtures::CurrentDirectory away(elsewhere.path());
    game->SetHost(&host);
    game->SetMediaFolder(QString::fromStdString(dir.path().string()));
    game->SetStart(2, 4);
    Start();
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join('\n').toStdString();
    EXPECT_EQ(PixelAt(64, 64), 0xff00ff00u);
}

scenario::StepRecord Record(const fixtures::Step& s) {
    scenario::StepRecord r;
    r.Nazwa = scenario::Utf8ToCp1250(s.nazwa);
    for (std::size_t k = 0; k < 4; ++k) {
        r.Wybor[k] = scenario::Utf8ToCp1250(s.wybory[k]);
        r.Krok_Wybrany[k] = s.targets[k];
    }
    r.Opis = scenario::Utf8ToCp1250(s.opis);
    r.Bmp = s.bmp;
    r.Wav = s.wav;
    r.Typ = s.typ;
    return r;
}

class QuietGameTest : public HostedGame {
  protected:
    QStringList problems;
    ::game::QuietGame quiet{[this](const QString& text) { problems << text; }};
    ::game::TFoRpgGra& preview = quiet.Window();

    Buttons PreviewEnabled() const {
        return {preview.BuWybor1->isEnabled(), preview.BuWybor2->isEnabled(), preview.BuWybor3->isEnabled(),
                preview.BuWybor4->isEnabled()};
    }
};

TEST_F(QuietGameTest, DrawsTheStepAsTheGameDrawsItFromTheFiles) {
    game->SetStart(2, 3);
    Start();
    quiet.Show(Record(Story()[2]), 3, QString::fromStdString(dir.path().string()));
    EXPECT_EQ(preview.MeOpis->toPlainText(), game->MeOpis->toPlainText());
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(preview.ChoiceLabels()[k]->VisibleText(), game->ChoiceLabels()[k]->VisibleText()) << k;
    }
    EXPECT_EQ(PreviewEnabled(), Enabled());
    EXPECT_EQ(preview.PaObrazek->Canvas(), game->PaObrazek->Canvas());
    EXPECT_EQ(preview.ObrazekRect, game->ObrazekRect);
    EXPECT_EQ(quiet.size(), game->size());
}

TEST_F(QuietGameTest, NoSoundNoBoxNoAnnouncementAndTheProblemsGoToTheHost) {
    fixtures::Step broken = Story()[2];
    broken.bmp = "brak.bmp";
    WriteFile("Obrazki/zepsuty.bmp", {'B', 'M', 1, 2});
    quiet.Show(Record(broken), 4, QString::fromStdString(dir.path().string()));
    fixtures::Step bad = Story()[2];
    bad.bmp = "zepsuty.bmp";
    quiet.Show(Record(bad), 4, QString::fromStdString(dir.path().string()));
    ProcessEvents();
    ASSERT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems[0].contains("brak.bmp")) << problems[0].toStdString();
    EXPECT_TRUE(messages.log.isEmpty());
    EXPECT_TRUE(player.calls.isEmpty());
    EXPECT_EQ(preview.Announcer->Presented(), 0);
    EXPECT_FALSE(preview.Announcer->HasPending());
    // The buttons still show what is open, and the window takes no clicks.
    EXPECT_EQ(PreviewEnabled(), (Buttons{true, true, true, true}));
    EXPECT_TRUE(preview.testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(preview.BuWybor1->focusPolicy(), Qt::NoFocus);
}

TEST_F(QuietGameTest, LeavesTheGameBeingPlayedAlone) {
    game->SetHost(&host);
    game->SetStart(2, 4);
    Start();
    quiet.Show(Record(Story()[4]), 3, QString::fromStdString(dir.path().string()));
    EXPECT_EQ(scenario::NrKroku, 2);
    EXPECT_EQ(scenario::AktKrok->Opis, "Opis hub");
    EXPECT_EQ(preview.MeOpis->toPlainText(), "Opis niesie");
    Click(1);
    EXPECT_EQ(game->MeOpis->toPlainText(), "Opis dwa");
    EXPECT_EQ(preview.MeOpis->toPlainText(), "Opis niesie");
}

} // namespace
} // namespace gametest
