// The player on the dummy driver: what opens, what is refused and with which words.
#include "platform/sound/SdlMediaPlayer.h"
#include "tests/sound/SoundData.h"
#include "tests/support/Files.h"
#include "tests/support/SoundFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <ostream>

namespace {

using fixtures::Tone;
using fixtures::WaveFormat;
using platform::MediaError;
using platform::SdlMediaPlayer;

QString Q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

std::string ReadPrefix(const std::filesystem::path& path, std::size_t size) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(size, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

struct PlayableCase {
    const char* name;
    const char* fileName;
    std::function<void(const std::filesystem::path&)> write;
};

void PrintTo(const PlayableCase& c, std::ostream* out) {
    *out << c.name;
}

void WriteWave(const std::filesystem::path& path, WaveFormat format, int rate, int channels) {
    fixtures::WriteBytes(path, fixtures::Wave(format, Tone{440.0, 0.5, rate, channels}));
}

std::function<void(const std::filesystem::path&)> Wave(WaveFormat format, int rate, int channels) {
    return [=](const std::filesystem::path& path) { WriteWave(path, format, rate, channels); };
}

std::function<void(const std::filesystem::path&)> Copy(const char* fixture) {
    return [=](const std::filesystem::path& path) {
        std::filesystem::copy_file(soundtest::DataFile(fixture), path);
    };
}

class Playable : public testing::TestWithParam<PlayableCase> {};

TEST_P(Playable, OpensPlaysAndStopsOnClose) {
    fixtures::TempDir dir;
    const auto file = dir / GetParam().fileName;
    GetParam().write(file);
    SdlMediaPlayer player;

    player.Open(Q(file));
    EXPECT_FALSE(player.IsPlaying()) << "opening must not start the sound";
    player.Play();
    EXPECT_TRUE(player.IsPlaying());
    player.Close();
    EXPECT_FALSE(player.IsPlaying());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, Playable,
    testing::Values(PlayableCase{"Pcm8Mono", "tone.wav", Wave(WaveFormat::Pcm8, 22050, 1)},
                    PlayableCase{"Pcm16Mono", "tone.wav", Wave(WaveFormat::Pcm16, 44100, 1)},
                    PlayableCase{"Pcm16Stereo", "tone.wav", Wave(WaveFormat::Pcm16, 44100, 2)},
                    PlayableCase{"AdpcmMono", "tone.wav", Wave(WaveFormat::ImaAdpcm, 22050, 1)},
                    PlayableCase{"AdpcmStereo", "tone.wav", Wave(WaveFormat::ImaAdpcm, 44100, 2)},
                    PlayableCase{"UpperCaseWave", "TONE.WAV", Wave(WaveFormat::Pcm16, 11025, 1)},
                    PlayableCase{"Ogg", "tone.ogg", Copy("tone440.ogg")},
                    PlayableCase{"Flac", "Tone.Flac", Copy("tone440.flac")},
                    PlayableCase{"Midi", "tune.mid",
                                 [](const auto& path) { fixtures::WriteBytes(path, fixtures::Midi()); }},
                    PlayableCase{"MidiLongExtension", "TUNE.MIDI",
                                 [](const auto& path) { fixtures::WriteBytes(path, fixtures::Midi()); }},
                    PlayableCase{"PolishName", "dźwięk żółw.wav", Wave(WaveFormat::Pcm16, 22050, 1)}),
    [](const auto& info) { return std::string(info.param.name); });

struct BrokenCase {
    const char* name;
    const char* fileName;
    // Null: the file is not there at all.
    std::function<std::string()> content;
};

void PrintTo(const BrokenCase& c, std::ostream* out) {
    *out << c.name;
}

std::string Garbage() {
    std::string bytes;
    for (int i = 0; i < 4096; ++i) {
        bytes.push_back(static_cast<char>((i * 7919 + 13) % 251));
    }
    return bytes;
}

std::string WaveCutAt(std::size_t size) {
    return fixtures::Wave(WaveFormat::Pcm16, Tone{440.0, 0.1, 8000, 1}).substr(0, size);
}

class Broken : public testing::TestWithParam<BrokenCase> {};

TEST_P(Broken, ThrowsWithTheDevicesWords) {
    fixtures::TempDir dir;
    const auto file = dir / GetParam().fileName;
    if (GetParam().content) {
        fixtures::WriteBytes(file, GetParam().content());
    }
    SdlMediaPlayer player;

    try {
        player.Open(Q(file));
        FAIL() << "opened a broken file";
    } catch (const MediaError& error) {
        EXPECT_STRNE(error.what(), "");
    }
    EXPECT_FALSE(player.IsPlaying());
    player.Play();
    EXPECT_FALSE(player.IsPlaying()) << "a failed Open must leave nothing to play";
}

INSTANTIATE_TEST_SUITE_P(
    Files, Broken,
    testing::Values(
        BrokenCase{"MissingWave", "missing.wav", nullptr}, BrokenCase{"MissingOgg", "missing.ogg", nullptr},
        BrokenCase{"MissingMidi", "missing.mid", nullptr},
        BrokenCase{"EmptyWave", "empty.wav", [] { return std::string(); }},
        BrokenCase{"EmptyOgg", "empty.ogg", [] { return std::string(); }},
        BrokenCase{"EmptyFlac", "empty.flac", [] { return std::string(); }},
        BrokenCase{"EmptyMp3", "empty.mp3", [] { return std::string(); }},
        BrokenCase{"EmptyMidi", "empty.mid", [] { return std::string(); }},
        BrokenCase{"GarbageWave", "noise.wav", Garbage}, BrokenCase{"GarbageOgg", "noise.ogg", Garbage},
        BrokenCase{"GarbageFlac", "noise.flac", Garbage}, BrokenCase{"GarbageMp3", "noise.mp3", Garbage},
        BrokenCase{"GarbageMidi", "noise.mid", Garbage},
        BrokenCase{"WaveCutInHeader", "cut.wav", [] { return WaveCutAt(30); }},
        BrokenCase{"OggCutInHeader", "cut.ogg",
                   [] { return ReadPrefix(soundtest::DataFile("tone440.ogg"), 60); }},
        BrokenCase{"FlacCutInHeader", "cut.flac",
                   [] { return ReadPrefix(soundtest::DataFile("tone440.flac"), 20); }},
        BrokenCase{"MidiCutInTrack", "cut.mid", [] { return fixtures::Midi().substr(0, 24); }},
        BrokenCase{"WaveNamedOgg", "wave.ogg", [] { return fixtures::Wave(WaveFormat::Pcm16, Tone{}); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MediaPlayer, MissingFileErrorNamesTheFile) {
    fixtures::TempDir dir;
    SdlMediaPlayer player;
    try {
        player.Open(Q(dir / "brak.wav"));
        FAIL() << "opened a file that is not there";
    } catch (const MediaError& error) {
        EXPECT_NE(std::string(error.what()).find("brak.wav"), std::string::npos) << error.what();
    }
}

TEST(MediaPlayer, RefusesExtensionsWithoutADecoderAndNamesThem) {
    fixtures::TempDir dir;
    const std::string wave = fixtures::Wave(WaveFormat::Pcm16, Tone{440.0, 0.1, 8000, 1});
    SdlMediaPlayer player;
    for (const char* name : {"dźwięk.xyz", "tone.wave", "tone.Mp4"}) {
        const auto file = dir / name;
        fixtures::WriteBytes(file, wave);
        const std::string extension = file.extension().string();
        try {
            player.Open(Q(file));
            ADD_FAILURE() << name << " opened";
        } catch (const MediaError& error) {
            EXPECT_NE(std::string(error.what()).find(extension), std::string::npos) << error.what();
        }
    }
    fixtures::WriteBytes(dir / "tone", wave);
    EXPECT_THROW(player.Open(Q(dir / "tone")), MediaError);
}

TEST(MediaPlayer, WithoutADeviceOpenSaysSoInPolishNamingTheCauseAndTheNextOpenTriesAgain) {
    fixtures::TempDir dir;
    WriteWave(dir / "tone.wav", WaveFormat::Pcm16, 22050, 1);
    const std::string driver =
        std::getenv("SDL_AUDIODRIVER") != nullptr ? std::getenv("SDL_AUDIODRIVER") : "";
    ::setenv("SDL_AUDIODRIVER", "brak", 1);
    SdlMediaPlayer player;
    try {
        player.Open(Q(dir / "tone.wav"));
        ADD_FAILURE() << "opened without a device";
    } catch (const platform::SoundDeviceError& error) {
        const std::string text = error.what();
        EXPECT_EQ(text.rfind("Nie można otworzyć urządzenia dźwiękowego: ", 0), 0u) << text;
        EXPECT_NE(text.find("brak"), std::string::npos) << text;
        EXPECT_NE(text.back(), '.') << "the error box adds the full stop";
    }
    ::setenv("SDL_AUDIODRIVER", driver.empty() ? "dummy" : driver.c_str(), 1);
    player.Open(Q(dir / "tone.wav"));
    player.Play();
    EXPECT_TRUE(player.IsPlaying());
}

TEST(MediaPlayer, CloseAndPlayWithNothingOpenAreHarmless) {
    SdlMediaPlayer player;
    player.Close();
    player.Play();
    player.Close();
    EXPECT_FALSE(player.IsPlaying());
}

TEST(MediaPlayer, FailedOpenStopsWhatWasPlaying) {
    fixtures::TempDir dir;
    WriteWave(dir / "tone.wav", WaveFormat::Pcm16, 22050, 1);
    SdlMediaPlayer player;
    player.Open(Q(dir / "tone.wav"));
    player.Play();
    ASSERT_TRUE(player.IsPlaying());

    EXPECT_THROW(player.Open(Q(dir / "missing.wav")), MediaError);
    EXPECT_FALSE(player.IsPlaying());

    player.Open(Q(dir / "tone.wav"));
    player.Play();
    EXPECT_TRUE(player.IsPlaying()) << "the player must recover after a failed Open";
}

TEST(MediaPlayer, PlayAgainRestartsTheSound) {
    fixtures::TempDir dir;
    fixtures::WriteBytes(dir / "tune.mid", fixtures::Midi());
    WriteWave(dir / "tone.wav", WaveFormat::Pcm8, 8000, 1);
    SdlMediaPlayer player;
    for (const char* name : {"tune.mid", "tone.wav"}) {
        player.Open(Q(dir / name));
        player.Play();
        player.Play();
        EXPECT_TRUE(player.IsPlaying()) << name;
    }
}

TEST(MediaPlayer, PlayersShareTheDevice) {
    fixtures::TempDir dir;
    // Long enough to outlast loading the MIDI synthesizer on a slow machine.
    fixtures::WriteBytes(dir / "tone.wav", fixtures::Wave(WaveFormat::Pcm8, Tone{440.0, 10.0, 8000, 1}));
    fixtures::WriteBytes(dir / "tune.mid", fixtures::Midi());
    SdlMediaPlayer first;
    first.Open(Q(dir / "tone.wav"));
    first.Play();
    {
        SdlMediaPlayer second;
        second.Open(Q(dir / "tune.mid"));
        second.Play();
        EXPECT_TRUE(second.IsPlaying());
    }
    EXPECT_TRUE(first.IsPlaying()) << "the other player's end must not close the device under this one";
}

TEST(MediaPlayer, LeavesTerminationSignalsToTheProgram) {
    fixtures::TempDir dir;
    WriteWave(dir / "tone.wav", WaveFormat::Pcm8, 8000, 1);
    // SDL only takes over signals that still have their default action.
    for (int signal : {SIGINT, SIGTERM}) {
        std::signal(signal, SIG_DFL);
    }
    SdlMediaPlayer player;
    player.Open(Q(dir / "tone.wav"));
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
    }
}

} // namespace

int main(int argc, char** argv) {
    // No sound card is needed; a driver named from outside still wins.
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
