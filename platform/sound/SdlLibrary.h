#pragma once
// SDL2_mixer, loaded at the first sound rather than linked: with its decoders and synthesizer it brings
// some forty shared libraries whose loading would otherwise delay every start of the program, also the
// many that never play a sound.

#include <SDL.h>
#include <SDL_mixer.h>

namespace platform {

// Every SDL and SDL_mixer function the player calls, under its own name without the prefix.
#define PRZYGODA_SDL_FUNCTIONS(X)                                                                            \
    X(SDL_ClearError, ClearError)                                                                            \
    X(SDL_GetError, GetError)                                                                                \
    X(SDL_getenv, getenv)                                                                                    \
    X(SDL_SetHint, SetHint)                                                                                  \
    X(SDL_InitSubSystem, InitSubSystem)                                                                      \
    X(SDL_QuitSubSystem, QuitSubSystem)                                                                      \
    X(SDL_WasInit, WasInit)                                                                                  \
    X(SDL_Quit, Quit)                                                                                        \
    X(SDL_RWFromFile, RWFromFile)                                                                            \
    X(SDL_RWsize, RWsize)                                                                                    \
    X(SDL_RWseek, RWseek)                                                                                    \
    X(SDL_RWread, RWread)                                                                                    \
    X(SDL_RWclose, RWclose)                                                                                  \
    X(Mix_Init, Init)                                                                                        \
    X(Mix_Quit, MixQuit)                                                                                     \
    X(Mix_SetSoundFonts, SetSoundFonts)                                                                      \
    X(Mix_OpenAudio, OpenAudio)                                                                              \
    X(Mix_CloseAudio, CloseAudio)                                                                            \
    X(Mix_LoadWAV_RW, LoadWAV_RW)                                                                            \
    X(Mix_LoadMUSType_RW, LoadMUSType_RW)                                                                    \
    X(Mix_FreeChunk, FreeChunk)                                                                              \
    X(Mix_FreeMusic, FreeMusic)                                                                              \
    X(Mix_PlayChannel, PlayChannel)                                                                          \
    X(Mix_PlayMusic, PlayMusic)                                                                              \
    X(Mix_HaltChannel, HaltChannel)                                                                          \
    X(Mix_HaltMusic, HaltMusic)                                                                              \
    X(Mix_GetChunk, GetChunk)                                                                                \
    X(Mix_Playing, Playing)                                                                                  \
    X(Mix_PlayingMusic, PlayingMusic)

struct SdlLibrary {
#define PRZYGODA_SDL_MEMBER(function, name) decltype(&::function) name = nullptr;
    PRZYGODA_SDL_FUNCTIONS(PRZYGODA_SDL_MEMBER)
#undef PRZYGODA_SDL_MEMBER
};

// The library's file as the dynamic loader finds it.
inline constexpr const char* kSdlMixerLibrary = "libSDL2_mixer-2.0.so.0";

// Loads `file` and finds every function in it or in the libraries it needs. Throws SoundDeviceError, with the
// loader's reason, when the library or a function is missing. Never unloads what it loaded.
SdlLibrary LoadSdlLibrary(const char* file);

// The process's one SDL2_mixer, loaded at the first call; a failed load is tried again at the next call.
const SdlLibrary& Sdl();

} // namespace platform
