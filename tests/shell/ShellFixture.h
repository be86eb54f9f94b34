#pragma once
// The three windows created as start-up creates them, with recording stand-ins for every seam.

#include "game/Scenariusz.h"
#include "game/Urpggra.h"
#include "platform/ProgramWindows.h"
#include "scenario/IoError.h"
#include "scenario/StepReader.h"
#include "shell/Ulista.h"
#include "shell/Urpgmenu.h"
#include "tests/support/Fakes.h"
#include "tests/support/Steps.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace shelltest {

class ShellTest : public testing::Test {
  protected:
    ShellTest() {
        platform::FoRPGMenu = &menu;
        menu.Show();
        platform::FoRpgGra = &gra;
        platform::FoLista = &lista;
    }
    ~ShellTest() override {
        gra.Hide();
        fixtures::CloseReader();
        platform::FoRPGMenu = platform::FoRpgGra = platform::FoLista = nullptr;
        game::Scenariusz.clear();
    }

    void Press(QPushButton* button) {
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    // Which of the three windows are visible: menu, game, credits.
    std::array<bool, 3> Visible() const { return {menu.isVisible(), gra.isVisible(), lista.isVisible()}; }

    fixtures::TempDir dir;
    fixtures::CurrentDirectory cwd{dir.path()};
    fixtures::RecordingMessages messages;
    fixtures::FakeOpenFileDialog dialog;
    fixtures::RecordingMediaPlayer player;
    shell::TFoRPGMenu menu{messages, dialog};
    game::TFoRpgGra gra{messages, player};
    shell::TFoLista lista{messages};
};

} // namespace shelltest
