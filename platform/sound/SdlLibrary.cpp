#include "platform/sound/SdlLibrary.h"

#include "platform/sound/SdlMediaPlayer.h"

#include <dlfcn.h>

#include <atomic>
#include <mutex>
#include <optional>
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
        throw MediaError("Brak biblioteki dźwięku: " + LoaderError());
    }
    SdlLibrary library;
#define PRZYGODA_SDL_FIND(function, name)                                                                    \
    library.name = reinterpret_cast<decltype(library.name)>(dlsym(handle, #function));                       \
    if (library.name == nullptr) {                                                                           \
        throw MediaError("Brak biblioteki dźwięku: " + LoaderError());                                       \
    }
    PRZYGODA_SDL_FUNCTIONS(PRZYGODA_SDL_FIND)
#undef PRZYGODA_SDL_FIND
    return library;
}

const SdlLibrary& Sdl() {
    // Every sound call passes here, so once loaded the table is one atomic read away.
    static std::atomic<const SdlLibrary*> loaded{nullptr};
    if (const SdlLibrary* library = loaded.load(std::memory_order_acquire)) {
        return *library;
    }
    static std::mutex mutex;
    static std::optional<SdlLibrary> library;
    std::lock_guard lock(mutex);
    if (!library) {
        library = LoadSdlLibrary(kSdlMixerLibrary);
        loaded.store(&*library, std::memory_order_release);
    }
    return *library;
}

} // namespace platform
