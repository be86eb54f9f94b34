// The start-up and memory anchor: an empty Qt window the size of the menu, with the menu's caption.
// With --sdl-audio it also opens the audio device the way the sound player does.
#include <QApplication>
#include <QWidget>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    bool sdlAudio = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--sdl-audio") == 0) {
            sdlAudio = true;
        }
    }
    QApplication app(argc, argv);
    if (sdlAudio) {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_Init(SDL_INIT_AUDIO) != 0 || Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
            std::fprintf(stderr, "bench_bare_window: no audio: %s\n", SDL_GetError());
            return 1;
        }
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("Menu"));
    window.resize(260, 218);
    window.show();
    const int rc = QApplication::exec();
    if (sdlAudio) {
        Mix_CloseAudio();
        SDL_Quit();
    }
    return rc;
}
