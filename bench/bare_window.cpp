// The start-up and memory anchors: an empty Qt window the size of the menu, with the menu's caption.
// Built twice: bench_bare_window is Qt alone; bench_bare_window_sdl also links SDL2_mixer and opens the
// audio device the way the sound player does. With --text the window shows one line of text in the menu's
// font, which tells what drawing any text at all costs a window. With --quit-when-painted it ends once
// painted, printing its peak memory: the anchor of the editor's memory, measured without a display by
// bench_editor_window.
#include "bench/support/PeakMemory.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstring>

#if PRZYGODA_BARE_SDL_AUDIO
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#endif

namespace {

class QuitWhenPainted : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, qApp, [] {
                bench::PrintPeakMemory();
                QCoreApplication::quit();
            });
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
#if PRZYGODA_BARE_SDL_AUDIO
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_AUDIO) != 0 || Mix_OpenAudio(22050, MIX_DEFAULT_FORMAT, 2, 512) != 0) {
        std::fprintf(stderr, "bench_bare_window_sdl: no audio: %s\n", SDL_GetError());
        return 1;
    }
#endif
    QWidget window;
    window.setWindowTitle(QStringLiteral("Menu"));
    window.resize(260, 218);
    QuitWhenPainted quit;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quit-when-painted") == 0) {
            window.installEventFilter(&quit);
        }
    }
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        auto* label = new QLabel(QStringLiteral("Witamy w grze  tekstowej"), &window);
        QFont font(QStringLiteral("Liberation Serif"));
        font.setPixelSize(19);
        label->setFont(font);
        label->move(41, 32);
    }
    window.show();
    const int rc = QApplication::exec();
#if PRZYGODA_BARE_SDL_AUDIO
    Mix_CloseAudio();
    SDL_Quit();
#endif
    return rc;
}
