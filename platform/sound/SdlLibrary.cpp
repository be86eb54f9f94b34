#include "platform/sound/SdlLibrary.h"

#include "platform/sound/SdlMediaPlayer.h"

#include <dlfcn.h>

#include <string>

namespace platform {

namespace {

std::string LoaderError() {
    const char* text = dlerror();
    return text != nullptr ? text : "";
}

} // namespace

SdlLibrary LoadSdlLibrary(const char* file) {
    // Kept loaded for the life of the process: the audio thread and atexit handlers live in it.
    void* handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        throw SoundDeviceError("Brak biblioteki dźwięku: " + LoaderError());
    }
    SdlLibrary library;
#define PRZYGODA_SDL_FIND(function, name)                                                                    \
    library.name = reinterpret_cast<decltype(library.name)>(dlsym(handle, #function));                       \
    if (library.name == nullptr) {                                                                           \
        throw SoundDeviceError("Brak biblioteki dźwięku: " + LoaderError());                                 \
    }
    PRZYGODA_SDL_FUNCTIONS(PRZYGODA_SDL_FIND)
#undef PRZYGODA_SDL_FIND
    return library;
}

const SdlLibrary& Sdl() {
    // Initialised once, by whichever thread comes first; a load that throws leaves it uninitialised, so the
    // next call tries again.
    static const SdlLibrary library = LoadSdlLibrary(kSdlMixerLibrary);
    return library;
}

} // namespace platform
