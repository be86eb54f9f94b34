// What each failure reports, where it stops, and that the window keeps working after it.
#include "tests/game/GameFixture.h"

#include "scenario/StepReader.h"

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
    // The handler stopped inside the presentation: the buttons were not set for step 1.
    EXPECT_EQ(Enabled(), (Buttons{true, true, true, true}));
    EXPECT_TRUE(game->isVisible());
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
