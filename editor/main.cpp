// przygoda-edytor [FILE]: the story editor. Options and messages follow the toolkit's: Polish, errors on
// stderr as "przygoda-edytor: ...", exit 2 for a wrong command line.
#include "editor/EditorWindow.h"
#include "editor/QtQuestions.h"
#include "editor/SoundProbe.h"
#include "platform/Accessibility.h"
#include "platform/Fonts.h"
#include "platform/QtMessages.h"
#include "platform/sound/SdlMediaPlayer.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>
#include <iostream>

namespace {

constexpr const char* Usage = "Użycie: przygoda-edytor [PLIK]\n";

constexpr const char* Help =
    "Użycie: przygoda-edytor [PLIK]\n"
    "Edytor historii Przygody: kroki jako formularz, źródło, problemy na bieżąco,\n"
    "dziennik zmian, z którego wraca praca po awarii.\n"
    "\n"
    "PLIK to źródło historii (.txt) albo scenariusz (.Kro), który otwiera się jako nowa historia.\n"
    "\n"
    "  --help       pokazuje tę pomoc\n"
    "  --version    pokazuje wersję\n";

} // namespace

int main(int argc, char** argv) {
    const char* file = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::cout << Help;
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "przygoda-edytor " PRZYGODA_VERSION "\n";
            return 0;
        }
        if (std::strcmp(argv[i], editor::SoundProbeOption) == 0 && i + 1 < argc) {
            return editor::RunSoundProbe(argv[i + 1]);
        }
        if (argv[i][0] == '-' && argv[i][1] != '\0' && std::strcmp(argv[i], "--") != 0) {
            std::cerr << "przygoda-edytor: nieznana opcja " << argv[i] << "\n" << Usage;
            return 2;
        }
        if (std::strcmp(argv[i], "--") == 0 && i + 1 < argc) {
            ++i;
        }
        if (file != nullptr) {
            std::cerr << "przygoda-edytor: za dużo plików\n" << Usage;
            return 2;
        }
        file = argv[i];
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("przygoda-edytor");
    QApplication::setOrganizationName("przygoda");
    // The window speaks the locale's language where a translation exists (English), Polish otherwise; the
    // toolkit's findings stay Polish.
    QTranslator translation;
    QTranslator qtTranslation;
    if (translation.load(QLocale(), QStringLiteral("przygoda-edytor"), QStringLiteral("_"),
                         QStringLiteral(":/i18n"))) {
        QApplication::installTranslator(&translation);
        if (qtTranslation.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QApplication::installTranslator(&qtTranslation);
        }
    }
    // The game window, in the preview and in play, draws and speaks as in the player.
    platform::InstallFontSubstitutions();
    platform::InstallAccessibility();
    platform::QtMessages messages;
    editor::QtQuestions questions;
    platform::SdlMediaPlayer player;
    editor::EditorWindow window(player, messages, questions);
    questions.SetParent(&window);
    window.show();
    if (file != nullptr) {
        window.Open(QString::fromLocal8Bit(file));
    } else {
        window.OfferUntitledRecovery();
    }
    return QApplication::exec();
}
