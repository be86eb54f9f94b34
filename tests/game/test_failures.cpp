// What each failure reports, where it stops, and that the window keeps working after it.
#include "tests/game/GameFixture.h"

#include "scenario/StepReader.h"
#include "scenario/StepTypes.h"

#include <sys/stat.h>

namespace gametest {
namespace {

using Buttons = std::array<bool, 4>;

std::vector<fixtures::Step> ThreeSteps(std::array<std::int32_t, 4> startTargets) {
    return {StepNamed("zero", 3, {1, 1, 1, 1}), StepNamed("start", 1, startTargets),
            StepNamed("dwa", 1, {1, 1, 1, 1})};
}

TEST_F(GameTest, MissingTypeListOnTheFirstShowThenAClickThenLeaving) {
    WriteScenario(ThreeSteps({2, 2, 2, 2}));
    std::filesystem::remove(dir / "gra.lis");
    Start();
    EXPECT_EQ(messages.errors, QStringList{"File not found."});
    EXPECT_TRUE(game->isVisible());
    // Step 1 was not presented: the buttons keep their states from creation, the step object is empty.
    EXPECT_EQ(Enabled(), (Buttons{true, true, true, true}));
    EXPECT_EQ(scenario::AktKrok->Krok_Wybrany1, 0);

    Click(1);
    EXPECT_EQ(messages.errors.last(), "I/O error 103.");

    game->BuWyjscie->click();
    ProcessEvents();
    // The step file was opened, the type list was not: closing stops at the type list.
    EXPECT_EQ(messages.errors.last(), "I/O error 103.");
    EXPECT_EQ(messages.errors.size(), 3);
    EXPECT_FALSE(game->isVisible());
    EXPECT_TRUE(menu->isVisible());
}

TEST_F(GameTest, ReadBeyondTheEndLeavesAnEmptyDisplayAndTheOldStepsTargets) {
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), StepNamed("start", 3, {2, 2, 2, 2}),
                   StepNamed("hub", 4, {9, 1, 1, 1})});
    Start();
    Click(1);
    ASSERT_EQ(Enabled(), (Buttons{true, true, false, false}));
    Click(1);
    EXPECT_EQ(messages.errors, QStringList{"Read beyond end of file."});
    EXPECT_EQ(game->MeOpis->toPlainText(), "");
    EXPECT_EQ(game->LaWybor1->Caption(), "");
    EXPECT_EQ(Enabled(), (Buttons{true, true, false, false}));
    EXPECT_EQ(scenario::NrKroku, 9);
    EXPECT_EQ(scenario::AktKrok->Nazwa, "hub");
    // The next click follows the target of the step that was left.
    Click(2);
    EXPECT_EQ(scenario::AktKrok->Nazwa, "start");
    EXPECT_EQ(game->MeOpis->toPlainText(), "Opis start");
}

TEST_F(GameTest, NegativeTargetFailsAtThePositioning) {
    WriteScenario(ThreeSteps({-1, -2147483647 - 1, 2, 2}));
    Start();
    Click(1);
    EXPECT_EQ(messages.errors, QStringList{"I/O error 131."});
    EXPECT_EQ(scenario::NrKroku, -1);
}

TEST_F(GameTest, ShortTypeListFailsAtTheSecondRead) {
    WriteScenario(ThreeSteps({2, 2, 2, 2}));
    fixtures::WriteLisRecords(dir / "gra.lis", {fixtures::EncodeLis(3), fixtures::EncodeLis(3)});
    Start();
    Click(1);
    EXPECT_EQ(messages.errors, QStringList{"Read beyond end of file."});
    EXPECT_EQ(scenario::AktKrok->Nazwa, "start");
}

TEST_F(GameTest, InvalidPictureStopsThePresentationBeforeTheSound) {
    fixtures::Step start = StepNamed("start", 3, {1, 1, 1, 1});
    start.bmp = "zly.bmp";
    start.wav = "ptak.wav";
    WriteFile("Obrazki/zly.bmp", {'N', 'O', 'T', 'B', 'M', 'P', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    WriteFile("Dzwieki/ptak.wav", {1});
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), start});
    Start();
    EXPECT_EQ(messages.errors, QStringList{"Bitmap image is not valid."});
    EXPECT_FALSE(player.calls.contains("play"));
    // The presentation stopped, but step 1 was read: it still offers only its first choice.
    EXPECT_EQ(Enabled(), (Buttons{true, false, false, false}));
    EXPECT_TRUE(game->isVisible());
}

// A step whose picture or sound fails was still reached: the error comes first, then the step's buttons,
// and an ending still ends the game.
struct BrokenMediaCase {
    const char* name;
    std::uint8_t typ;
    bool badPicture;
    const char* error;
    Buttons after;
};

void PrintTo(const BrokenMediaCase& c, std::ostream* out) {
    *out << c.name;
}

class StepWithBrokenMedia : public GameTest, public testing::WithParamInterface<BrokenMediaCase> {};

TEST_P(StepWithBrokenMedia, IsReportedThenStillCompleted) {
    const BrokenMediaCase c = GetParam();
    fixtures::Step reached = StepNamed("dwa", c.typ, {1, 1, 1, 1});
    if (c.badPicture) {
        reached.bmp = "zly.bmp";
        WriteFile("Obrazki/zly.bmp", {'B', 'M', 0, 0});
    } else {
        reached.wav = "ptak.wav";
        WriteFile("Dzwieki/ptak.wav", {1});
        player.failOpenWith = "Unrecognized audio format";
    }
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), StepNamed("start", 3, {2, 2, 2, 2}), reached});
    Start();
    std::vector<Buttons> atEachBox;
    messages.onBox = [&](const QString&) { atEachBox.push_back(Enabled()); };
    Click(1);
    QStringList expected{QString("error: ") + c.error};
    if (c.typ == scenario::TypKoniec) {
        expected << "message: To juz koniec gry";
    }
    EXPECT_EQ(messages.log, expected);
    ASSERT_FALSE(atEachBox.empty());
    EXPECT_EQ(atEachBox.front(), (Buttons{true, false, false, false})) << "the error box comes first";
    EXPECT_EQ(Enabled(), c.after);
    EXPECT_EQ(game->MeOpis->toPlainText(), "Opis dwa");
}

INSTANTIATE_TEST_SUITE_P(
    Media, StepWithBrokenMedia,
    testing::Values(
        BrokenMediaCase{"PictureOnFourChoices", 1, true, "Stream read error.", {true, true, true, true}},
        BrokenMediaCase{
            "SoundOnTwoChoices", 4, false, "Unrecognized audio format.", {true, true, false, false}},
        BrokenMediaCase{"PictureOnAnEnding", 2, true, "Stream read error.", {false, false, false, false}},
        BrokenMediaCase{
            "SoundOnAnEnding", 2, false, "Unrecognized audio format.", {false, false, false, false}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GameTest, NoSoundDeviceIsReportedOncePerShowingAndTheGamePlaysOnSilently) {
    std::vector<fixtures::Step> steps{StepNamed("zero", 3, {1, 1, 1, 1}), StepNamed("start", 1, {2, 2, 2, 2}),
                                      StepNamed("dwa", 4, {1, 1, 1, 1})};
    for (auto& step : steps) {
        step.wav = "ptak.wav";
    }
    WriteFile("Dzwieki/ptak.wav", {1});
    WriteScenario(steps);
    player.deviceFailsWith =
        QString::fromUtf8("Nie można otworzyć urządzenia dźwiękowego: ALSA: Couldn't open audio device");
    const QString report = QString::fromUtf8("Nie można otworzyć urządzenia dźwiękowego: ALSA: Couldn't open "
                                             "audio device. Gra toczy się dalej bez dźwięku.");
    Start();
    EXPECT_EQ(messages.errors, QStringList{report});
    EXPECT_EQ(Enabled(), (Buttons{true, false, false, false}));
    Click(1);
    Click(1);
    EXPECT_EQ(messages.errors, QStringList{report}) << "once per showing";
    EXPECT_EQ(player.calls.filter("open").size(), 1) << "silent after the failure";
    EXPECT_EQ(scenario::AktKrok->Nazwa, "start");
    EXPECT_EQ(Enabled(), (Buttons{true, true, true, true}));

    // Shown again, the device is tried again: still missing, reported once more; present, it plays.
    game->BuWyjscie->click();
    menu->Hide();
    Start();
    EXPECT_EQ(messages.errors, (QStringList{report, report}));
    game->BuWyjscie->click();
    menu->Hide();
    player.deviceFailsWith.clear();
    Start();
    Click(1);
    EXPECT_EQ(messages.errors.size(), 2);
    EXPECT_TRUE(player.playing);
}

TEST_F(GameTest, SoundTheDeviceCannotOpenIsReportedWithItsText) {
    fixtures::Step start = StepNamed("start", 3, {2, 2, 2, 2});
    start.wav = "zepsuty.wav";
    WriteFile("Dzwieki/zepsuty.wav", {0});
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), start, StepNamed("dwa", 3, {1, 1, 1, 1})});
    player.failOpenWith = "Unrecognized audio format";
    Start();
    EXPECT_EQ(messages.errors, QStringList{"Unrecognized audio format."});
    EXPECT_FALSE(player.playing);
    // The window keeps working.
    player.failOpenWith.clear();
    Click(1);
    EXPECT_EQ(scenario::AktKrok->Nazwa, "dwa");
}

TEST_F(GameTest, FolderOrFifoNamedAsPictureIsMissingNotAHang) {
    std::filesystem::create_directory(dir / "Obrazki" / "folder.bmp");
    ASSERT_EQ(::mkfifo((dir / "Obrazki" / "fifo.bmp").c_str(), 0600), 0);
    fixtures::Step start = StepNamed("start", 3, {2, 2, 2, 2});
    start.bmp = "folder.bmp";
    fixtures::Step next = StepNamed("dwa", 3, {1, 1, 1, 1});
    next.bmp = "fifo.bmp";
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), start, next});
    Start();
    Click(1);
    EXPECT_EQ(messages.messages,
              (QStringList{"Nie masz obrazu \"folder.bmp\"", "Nie masz obrazu \"fifo.bmp\""}));
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(GameTest, RepaintAfterAFailedClickDrawsThePictureOfTheStepThatWasLeft) {
    WritePicture("las.bmp", 128, 128, 0x00FF00);
    fixtures::Step start = StepNamed("start", 3, {7, 7, 7, 7});
    start.bmp = "las.bmp";
    WriteScenario({StepNamed("zero", 3, {1, 1, 1, 1}), start});
    Start();
    Click(1);
    ASSERT_EQ(messages.errors, QStringList{"Read beyond end of file."});
    EXPECT_EQ(PixelAt(64, 64), ButtonFace());
    game->PaObrazek->repaint();
    EXPECT_EQ(PixelAt(64, 64) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(game->MeOpis->toPlainText(), "");
}

} // namespace
} // namespace gametest
