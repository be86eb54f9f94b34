// Start-up: the menu window (the main one, visible), the game window and the credits window, in that
// order, then the event loop until the program is terminated.
#include "game/Urpggra.h"
#include "platform/Accessibility.h"
#include "platform/Files.h"
#include "platform/Fonts.h"
#include "platform/NoSettings.h"
#include "platform/ProgramWindows.h"
#include "platform/QtMessages.h"
#include "platform/QtOpenFileDialog.h"
#include "platform/sound/SdlMediaPlayer.h"
#include "shell/Ulista.h"
#include "shell/Urpgmenu.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Qt counts hidden windows as closed: hiding the last visible one must not end the program, which ends
    // only when the menu window is closed.
    QApplication::setQuitOnLastWindowClosed(false);
    platform::InstallFontSubstitutions();
    platform::KeepNoToolkitSettings();
    platform::InstallAccessibility();

    platform::QtMessages messages;
    platform::QtOpenFileDialog dialog(nullptr, "Scenariusze (*.Kro)|*.Kro");
    // The demo as installed beside the program, or as built beside it in the build tree.
    const QString demo = platform::FirstFolder(QCoreApplication::applicationDirPath(),
                                               {PRZYGODA_DEMO_FROM_PROGRAM, PRZYGODA_DEMO_IN_BUILD});
    dialog.SetPlaces({demo, QDir::homePath()});
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
