// Start-up: the menu window (the main one, visible), the game window and the credits window, in that
// order, then the event loop until the program is terminated.
#include "game/Urpggra.h"
#include "platform/Accessibility.h"
#include "platform/Fonts.h"
#include "platform/QtMessages.h"
#include "platform/QtOpenFileDialog.h"
#include "platform/sound/SdlMediaPlayer.h"
#include "shell/Ulista.h"
#include "shell/Urpgmenu.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::InstallFontSubstitutions();
    platform::InstallAccessibility();

    platform::QtMessages messages;
    platform::QtOpenFileDialog dialog(nullptr, "Scenariusze (*.Kro)|*.Kro");
    // Declared before the game window, which stops the sound as it goes.
    platform::SdlMediaPlayer player;

    shell::TFoRPGMenu menu(messages, dialog);
    platform::FoRPGMenu = &menu;
    menu.Show();

    game::TFoRpgGra gra(messages, player);
    platform::FoRpgGra = &gra;

    shell::TFoLista lista(messages);
    platform::FoLista = &lista;

    return QApplication::exec();
}
