#pragma once
// A game window on a scenario written for the test, with recording stand-ins for messages and sound and
// a stand-in menu window to return to.

#include "game/Urpggra.h"
#include "tests/support/Fakes.h"
#include "tests/support/ScenarioWriter.h"
#include "tests/support/Steps.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

namespace gametest {

class StandInMenu : public platform::TForm {
  public:
    explicit StandInMenu(platform::IMessages& messages)
        : TForm(messages, "FoRPGMenu", "Menu", QSize(260, 218)) {}
    int shows = 0;

  protected:
    void FormShow() override { ++shows; }
};

using fixtures::StepNamed;

class GameTest : public testing::Test {
  protected:
    GameTest();
    ~GameTest() override;

    // Writes the scenario "gra.Kro" + "gra.lis" and makes it the chosen one.
    void WriteScenario(const std::vector<fixtures::Step>& steps);
    // Writes a file below the scenario's folder, e.g. "Obrazki/las.bmp".
    void WriteFile(const std::string& relative, const std::vector<std::uint8_t>& bytes);
    void WritePicture(const std::string& name, int w, int h, std::uint32_t colour);

    void Start();
    void Click(int k);
    void ProcessEvents();

    std::array<bool, 4> Enabled() const;
    QRgb PixelAt(int x, int y) const { return game->PaObrazek->Canvas().pixel(x, y); }
    QRgb ButtonFace() const { return game->palette().color(QPalette::Button).rgb(); }

    fixtures::TempDir dir;
    fixtures::CurrentDirectory cwd{dir.path()};
    fixtures::RecordingMessages messages;
    fixtures::RecordingMediaPlayer player;
    std::unique_ptr<StandInMenu> menu;
    std::unique_ptr<::game::TFoRpgGra> game;
};

} // namespace gametest
