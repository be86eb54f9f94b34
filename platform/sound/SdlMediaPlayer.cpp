#include "platform/sound/SdlMediaPlayer.h"

#include <QFile>
#include <QFileInfo>

#include "platform/sound/SdlLibrary.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <string>

namespace platform {

namespace {

// What the mixer asks of the device; the device may give another rate or layout and SDL converts.
// 22050 Hz is the rate most scenario waves were recorded at (the rest mostly 11025 Hz): a wave is converted
// to the mixer's rate in full when it is opened, on the click that leads to its step, and from 22050 Hz to
// 44100 Hz that took nearly a millisecond per second of sound, against a fiftieth of that for the layout
// alone. Waves recorded at 44100 Hz pay the conversion instead, and lose what lies above 11 kHz.
constexpr int kFrequency = 22050;
constexpr Uint16 kFormat = AUDIO_S16SYS;
constexpr int kChannels = 2;
// About 23 ms at 22.05 kHz: short enough that a sound starts with the click that asked for it.
constexpr int kChunkFrames = 512;

// General MIDI soundfonts as Debian installs them; the first present wins.
constexpr std::array kSoundFonts{
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
};

enum class Loader { None, Chunk, Music };

struct Decoder {
    Loader loader = Loader::None;
    Mix_MusicType musicType = MUS_NONE;
};

Decoder DecoderFor(const QString& extension) {
    const QString ext = extension.toLower();
    if (ext == QLatin1String("wav")) {
        // The chunk loader decodes ADPCM waves, the music one does not.
        return {Loader::Chunk, MUS_NONE};
    }
    if (ext == QLatin1String("mp3")) {
        return {Loader::Music, MUS_MP3};
    }
    if (ext == QLatin1String("ogg")) {
        return {Loader::Music, MUS_OGG};
    }
    if (ext == QLatin1String("flac")) {
        return {Loader::Music, MUS_FLAC};
    }
    if (ext == QLatin1String("mid") || ext == QLatin1String("midi")) {
        return {Loader::Music, MUS_MID};
    }
    return {};
}

std::string DeviceError() {
    const char* text = Sdl().GetError();
    if (text == nullptr || *text == '\0') {
        return "Unknown error code";
    }
    return text;
}

// The device cannot be opened at all: no sound will play, whatever the file.
[[noreturn]] void FailDevice(std::string cause) {
    while (!cause.empty() && cause.back() == '.') {
        cause.pop_back();
    }
    throw SoundDeviceError("Nie można otworzyć urządzenia dźwiękowego: " + cause);
}

Uint32 BigEndian(const unsigned char* bytes, int count) {
    Uint32 value = 0;
    for (int i = 0; i < count; ++i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

// The MIDI synthesizer takes any bytes and only finds out when playing that they hold no tune, so check
// that the header is there and that every track it announces is whole. Leaves `source` rewound.
bool IsWholeMidi(SDL_RWops* source) {
    const Sint64 size = Sdl().RWsize(source);
    unsigned char chunk[14];
    bool whole = Sdl().RWread(source, chunk, 1, sizeof chunk) == sizeof chunk;
    if (whole && std::memcmp(chunk, "RIFF", 4) == 0) {
        // A MIDI file wrapped in RIFF: left to the synthesizer.
        Sdl().RWseek(source, 0, RW_SEEK_SET);
        return true;
    }
    whole = whole && std::memcmp(chunk, "MThd", 4) == 0 && BigEndian(chunk + 4, 4) >= 6;
    Uint32 tracks = whole ? BigEndian(chunk + 10, 2) : 0;
    whole = whole && tracks > 0;
    Sint64 at = whole ? 8 + Sint64{BigEndian(chunk + 4, 4)} : 0;
    while (whole && tracks > 0) {
        whole = at + 8 <= size && Sdl().RWseek(source, at, RW_SEEK_SET) == at &&
                Sdl().RWread(source, chunk, 1, 8) == 8;
        if (whole) {
            at += 8 + Sint64{BigEndian(chunk + 4, 4)};
            whole = at <= size;
            tracks -= std::memcmp(chunk, "MTrk", 4) == 0 ? 1 : 0;
        }
    }
    Sdl().RWseek(source, 0, RW_SEEK_SET);
    return whole;
}

void ChooseSoundFont() {
    // A soundfont the user chose wins over ours.
    if (Sdl().getenv("SDL_SOUNDFONTS") != nullptr) {
        return;
    }
    std::error_code ec;
    for (const char* font : kSoundFonts) {
        if (std::filesystem::is_regular_file(font, ec)) {
            Sdl().SetSoundFonts(font);
            return;
        }
    }
}

// The device is shared by every player in the process and opened once: the first player to need it opens
// it, the last one to go closes it. Players are used from the one thread of the event loop only.
int deviceUsers = 0;
// Only one music plays at a time; remember whose it is so that one player does not halt another's.
Mix_Music* playingMusic = nullptr;

void AcquireDevice() {
    if (deviceUsers > 0) {
        ++deviceUsers;
        return;
    }
    // Otherwise SDL takes over SIGINT and SIGTERM and the program no longer ends on them.
    Sdl().SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    Sdl().ClearError();
    if (Sdl().InitSubSystem(SDL_INIT_AUDIO) != 0) {
        FailDevice(DeviceError());
    }
    // A decoder missing here reports itself when a file needs it.
    Sdl().Init(MIX_INIT_MP3 | MIX_INIT_OGG | MIX_INIT_FLAC | MIX_INIT_MID);
    ChooseSoundFont();
    Sdl().ClearError();
    if (Sdl().OpenAudio(kFrequency, kFormat, kChannels, kChunkFrames) != 0) {
        const std::string error = DeviceError();
        Sdl().MixQuit();
        Sdl().QuitSubSystem(SDL_INIT_AUDIO);
        FailDevice(error);
    }
    deviceUsers = 1;
}

void ReleaseDevice() {
    if (--deviceUsers > 0) {
        return;
    }
    playingMusic = nullptr;
    Sdl().CloseAudio();
    Sdl().MixQuit();
    Sdl().QuitSubSystem(SDL_INIT_AUDIO);
    if (Sdl().WasInit(SDL_INIT_EVERYTHING) == 0) {
        Sdl().Quit();
    }
}

} // namespace

struct SdlMediaPlayer::Impl {
    bool hasDevice = false;
    Mix_Chunk* chunk = nullptr;
    int channel = -1;
    Mix_Music* music = nullptr;
    // Closed music, freed at the next Open: freeing a MIDI synthesizer takes a millisecond or two, too long
    // for the click that closes it.
    Mix_Music* closedMusic = nullptr;

    void FreeClosedMusic() {
        if (closedMusic != nullptr) {
            Sdl().FreeMusic(closedMusic);
            closedMusic = nullptr;
        }
    }

    // A channel is reused once its sound ends, possibly by another player's sound.
    bool OwnsChannel() const { return channel >= 0 && Sdl().GetChunk(channel) == chunk; }
};

SdlMediaPlayer::SdlMediaPlayer() : impl_(std::make_unique<Impl>()) {}

SdlMediaPlayer::~SdlMediaPlayer() {
    Close();
    impl_->FreeClosedMusic();
    if (impl_->hasDevice) {
        ReleaseDevice();
    }
}

void SdlMediaPlayer::Open(const QString& fileName) {
    Close();
    impl_->FreeClosedMusic();
    const QString extension = QFileInfo(fileName).suffix();
    const Decoder decoder = DecoderFor(extension);
    if (decoder.loader == Loader::None) {
        if (extension.isEmpty()) {
            throw MediaError("Nie można odtworzyć pliku bez rozszerzenia");
        }
        throw MediaError(("Nie można odtworzyć plików ." + extension).toStdString());
    }
    if (!impl_->hasDevice) {
        AcquireDevice();
        impl_->hasDevice = true;
    }

    Sdl().ClearError();
    SDL_RWops* source = Sdl().RWFromFile(QFile::encodeName(fileName).constData(), "rb");
    if (source == nullptr) {
        throw MediaError(DeviceError());
    }
    // The loaders take the file over and close it, also when loading fails.
    if (decoder.loader == Loader::Chunk) {
        impl_->chunk = Sdl().LoadWAV_RW(source, 1);
        if (impl_->chunk == nullptr) {
            throw MediaError(DeviceError());
        }
        return;
    }
    if (decoder.musicType == MUS_MID && !IsWholeMidi(source)) {
        Sdl().RWclose(source);
        throw MediaError("Uszkodzony plik MIDI");
    }
    impl_->music = Sdl().LoadMUSType_RW(source, decoder.musicType, 1);
    if (impl_->music == nullptr) {
        throw MediaError(DeviceError());
    }
}

void SdlMediaPlayer::Play() {
    if (impl_->chunk != nullptr) {
        if (impl_->OwnsChannel()) {
            Sdl().HaltChannel(impl_->channel);
        }
        impl_->channel = Sdl().PlayChannel(-1, impl_->chunk, 0);
    } else if (impl_->music != nullptr) {
        if (Sdl().PlayMusic(impl_->music, 1) == 0) {
            playingMusic = impl_->music;
        }
    }
}

void SdlMediaPlayer::Close() {
    if (impl_->chunk != nullptr) {
        if (impl_->OwnsChannel()) {
            Sdl().HaltChannel(impl_->channel);
        }
        Sdl().FreeChunk(impl_->chunk);
        impl_->chunk = nullptr;
        impl_->channel = -1;
    }
    if (impl_->music != nullptr) {
        if (playingMusic == impl_->music) {
            Sdl().HaltMusic();
            playingMusic = nullptr;
        }
        impl_->FreeClosedMusic();
        impl_->closedMusic = impl_->music;
        impl_->music = nullptr;
    }
}

bool SdlMediaPlayer::IsPlaying() const {
    if (impl_->chunk != nullptr) {
        return impl_->OwnsChannel() && Sdl().Playing(impl_->channel) != 0;
    }
    if (impl_->music != nullptr) {
        return playingMusic == impl_->music && Sdl().PlayingMusic() != 0;
    }
    return false;
}

} // namespace platform
