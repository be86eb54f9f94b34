// SDL2_mixer is loaded at the first sound; a system without it gets a message, not a crash.
#include "platform/sound/SdlLibrary.h"
#include "platform/sound/SdlMediaPlayer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::LoadSdlLibrary;
using platform::MediaError;

std::string LoadError(const char* file) {
    try {
        LoadSdlLibrary(file);
    } catch (const MediaError& error) {
        return error.what();
    }
    return "loaded";
}

TEST(SdlLibrary, MissingLibraryIsReportedWithItsName) {
    const std::string error = LoadError("libprzygoda-no-such-sound.so.0");
    EXPECT_EQ(error.rfind("Brak biblioteki dźwięku: ", 0), 0U) << error;
    EXPECT_NE(error.find("libprzygoda-no-such-sound.so.0"), std::string::npos) << error;
}

TEST(SdlLibrary, LibraryWithoutTheFunctionsIsReportedWithTheFirstMissingOne) {
    const std::string error = LoadError("libm.so.6");
    EXPECT_EQ(error.rfind("Brak biblioteki dźwięku: ", 0), 0U) << error;
    EXPECT_NE(error.find("SDL_ClearError"), std::string::npos) << error;
}

TEST(SdlLibrary, EveryFunctionIsFoundInTheInstalledMixer) {
    const platform::SdlLibrary& sdl = platform::Sdl();
#define PRZYGODA_SDL_EXPECT_FOUND(function, name) EXPECT_NE(sdl.name, nullptr) << #function;
    PRZYGODA_SDL_FUNCTIONS(PRZYGODA_SDL_EXPECT_FOUND)
#undef PRZYGODA_SDL_EXPECT_FOUND
    EXPECT_EQ(&platform::Sdl(), &sdl) << "loaded once";
}

} // namespace
