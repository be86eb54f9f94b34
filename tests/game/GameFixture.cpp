#include "tests/game/GameFixture.h"

#include "game/Scenariusz.h"
#include "platform/ProgramWindows.h"
#include "scenario/IoError.h"
#include "scenario/StepReader.h"
#include "tests/support/BmpFile.h"

#include <QCoreApplication>
#include <QTest>

namespace gametest {

GameTest::GameTest() {
    menu = std::make_unique<StandInMenu>(messages);
    game = std::make_unique<::game::TFoRpgGra>(messages, player);
    platform::FoRPGMenu = menu.get();
    platform::FoRpgGra = game.get();
    std::filesystem::create_directory(dir / "Obrazki");
    std::filesystem::create_directory(dir / "Dzwieki");
}

GameTest::~GameTest() {
    // Leave the reader closed for the next test, whatever state this one left it in.
    game->Hide();
    fixtures::CloseReader();
    platform::FoRPGMenu = nullptr;
    platform::FoRpgGra = nullptr;
    ::game::Scenariusz.clear();
}

void GameTest::WriteScenario(const std::vector<fixtures::Step>& steps) {
    fixtures::WriteScenario(dir / "gra.Kro", steps);
    ::game::Scenariusz = QString::fromStdString((dir / "gra.Kro").string());
}

void GameTest::WriteFile(const std::string& relative, const std::vector<std::uint8_t>& bytes) {
    fixtures::WriteBytes(dir / relative, bytes);
}

void GameTest::WritePicture(const std::string& name, int w, int h, std::uint32_t colour) {
    WriteFile("Obrazki/" + name, fixtures::Bmp24(w, h, [colour](int, int) { return colour; }));
}

void GameTest::Start() {
    game->Show();
    ProcessEvents();
}

void GameTest::Click(int k) {
    QPushButton* buttons[] = {game->BuWybor1, game->BuWybor2, game->BuWybor3, game->BuWybor4};
    QPushButton* button = buttons[k - 1];
    ASSERT_TRUE(button->isEnabled()) << "button " << k << " is disabled";
    QTest::mouseClick(button, Qt::LeftButton);
    ProcessEvents();
}

void GameTest::ProcessEvents() {
    QCoreApplication::processEvents();
}

std::array<bool, 4> GameTest::Enabled() const {
    return {game->BuWybor1->isEnabled(), game->BuWybor2->isEnabled(), game->BuWybor3->isEnabled(),
            game->BuWybor4->isEnabled()};
}

} // namespace gametest
