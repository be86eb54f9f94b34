// What the player really sends to the sound card, caught with SDL's disk driver, which writes the mixed
// stream to a file instead of a device.
#include "platform/sound/SdlMediaPlayer.h"
#include "tests/sound/SoundData.h"
#include "tests/support/Files.h"
#include "tests/support/SoundFile.h"
#include "tests/support/TempDir.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using fixtures::Tone;
using fixtures::WaveFormat;
using platform::SdlMediaPlayer;

QString Q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// What was heard: how long something sounded and at which pitch.
struct Heard {
    double soundingSeconds = 0;
    double frequency = 0;
};

// Judged in 10 ms slices of the first channel: a slice sounds when its peak rises clearly above silence.
// The pitch comes from zero crossings with some hysteresis, so that codec noise does not count, timed from
// the first crossing to the last: a sound starts anywhere inside a slice, so counting whole slices would
// make the pitch depend on where the slices happen to fall.
Heard Analyse(const std::vector<std::int16_t>& stream, int rate, int channels) {
    constexpr int kLoud = 2000;
    constexpr int kHysteresis = 500;
    const std::size_t slice = static_cast<std::size_t>(rate) / 100;
    const std::size_t frames = stream.size() / channels;
    std::size_t soundingSlices = 0;
    std::size_t crossings = 0;
    std::size_t firstCrossing = 0;
    std::size_t lastCrossing = 0;
    int side = 0;
    for (std::size_t start = 0; start + slice <= frames; start += slice) {
        int peak = 0;
        for (std::size_t i = start; i < start + slice; ++i) {
            peak = std::max(peak, std::abs(static_cast<int>(stream[i * channels])));
        }
        if (peak < kLoud) {
            continue;
        }
        ++soundingSlices;
        for (std::size_t i = start; i < start + slice; ++i) {
            const int sample = stream[i * channels];
            const int now = sample > kHysteresis ? 1 : sample < -kHysteresis ? -1 : side;
            if (side != 0 && now != side) {
                firstCrossing = crossings == 0 ? i : firstCrossing;
                lastCrossing = i;
                ++crossings;
            }
            side = now;
        }
    }
    Heard heard;
    heard.soundingSeconds = static_cast<double>(soundingSlices) / 100.0;
    if (crossings > 1) {
        const double span = static_cast<double>(lastCrossing - firstCrossing) / rate;
        heard.frequency = static_cast<double>(crossings - 1) / 2.0 / span;
    }
    return heard;
}

class DiskOutput : public testing::Test {
  protected:
    void SetUp() override { ::setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1); }

    std::uintmax_t OutputSize() const {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(output_, ec);
        return ec ? 0 : size;
    }

    // Plays `file` until it ends, or until the device has written `cutAfter` of output when given, then
    // returns what reached the device.
    // `interrupt` runs on the player at the cut: Close by default.
    Heard Record(const std::filesystem::path& file, std::optional<std::chrono::milliseconds> cutAfter = {},
                 void (*interrupt)(SdlMediaPlayer&, const std::filesystem::path&) = nullptr) {
        int rate = 0;
        int channels = 0;
        {
            SdlMediaPlayer player;
            player.Open(Q(file));
            Uint16 format = 0;
            EXPECT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1);
            EXPECT_EQ(format, AUDIO_S16SYS);
            player.Play();
            EXPECT_TRUE(player.IsPlaying());
            // The cut comes once the device has written `cutAfter` of sound, however long that takes on a
            // loaded machine; the bounds are reached only by a device that hangs.
            const auto bytesPerSecond = static_cast<std::uintmax_t>(rate * channels * 2);
            const std::uintmax_t cutAt =
                cutAfter ? bytesPerSecond * static_cast<std::uintmax_t>(cutAfter->count()) / 1000 : 0;
            const auto deadline = std::chrono::steady_clock::now() + 60s;
            while (player.IsPlaying() && (!cutAfter || OutputSize() < cutAt) &&
                   std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(5ms);
            }
            if (cutAfter) {
                if (interrupt != nullptr) {
                    interrupt(player, file);
                } else {
                    player.Close();
                }
                // Let the driver write 300 ms of what follows the cut.
                const std::uintmax_t atCut = OutputSize();
                const std::uintmax_t wanted = atCut + bytesPerSecond * 3 / 10;
                const auto bound = std::chrono::steady_clock::now() + 60s;
                while (OutputSize() < wanted && std::chrono::steady_clock::now() < bound) {
                    std::this_thread::sleep_for(10ms);
                }
            } else {
                EXPECT_FALSE(player.IsPlaying()) << "still playing after 60 s";
            }
        } // The last player closes the device, which flushes the file.
        std::ifstream in(output_, std::ios::binary);
        std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::vector<std::int16_t> stream(bytes.size() / 2);
        std::memcpy(stream.data(), bytes.data(), stream.size() * 2);
        if (rate <= 0 || channels <= 0) {
            ADD_FAILURE() << "no device spec";
            return {};
        }
        return Analyse(stream, rate, channels);
    }

    fixtures::TempDir dir_;
    std::filesystem::path output_ = dir_ / "device.raw";
};

TEST_F(DiskOutput, OneSecondToneSoundsForOneSecondAt440Hz) {
    const auto file = dir_ / "tone.wav";
    fixtures::WriteBytes(file, fixtures::Wave(WaveFormat::Pcm16, Tone{440.0, 1.0, 44100, 1}));

    const Heard heard = Record(file);

    EXPECT_NEAR(heard.soundingSeconds, 1.0, 0.08);
    EXPECT_NEAR(heard.frequency, 440.0, 440.0 * 0.03);
}

TEST_F(DiskOutput, CloseCutsTheSoundShort) {
    const auto file = dir_ / "tone.wav";
    fixtures::WriteBytes(file, fixtures::Wave(WaveFormat::Pcm16, Tone{440.0, 1.0, 44100, 1}));

    const Heard heard = Record(file, 300ms);

    EXPECT_GT(heard.soundingSeconds, 0.05);
    EXPECT_LT(heard.soundingSeconds, 0.5);
}

TEST_F(DiskOutput, OpeningAnotherSoundStopsThePlayingOne) {
    const auto file = dir_ / "tone.wav";
    fixtures::WriteBytes(file, fixtures::Wave(WaveFormat::Pcm16, Tone{440.0, 1.0, 44100, 1}));
    fixtures::WriteBytes(dir_ / "next.mid", fixtures::Midi());

    const Heard heard = Record(file, 300ms, [](SdlMediaPlayer& player, const std::filesystem::path& played) {
        player.Open(Q(played.parent_path() / "next.mid"));
    });

    EXPECT_GT(heard.soundingSeconds, 0.05);
    EXPECT_LT(heard.soundingSeconds, 0.5);
}

struct FormatCase {
    const char* name;
    std::function<std::filesystem::path(const fixtures::TempDir&)> make;
    double seconds = 0.5;
    // MIDI is a piano, not a sine: only its being heard is checked. The synthesizer also reports it playing
    // for seconds after the last note has died away, so it is closed once the tune is over.
    bool sine = true;
};

void PrintTo(const FormatCase& c, std::ostream* out) {
    *out << c.name;
}

// Half a second of 440 Hz, then `damage` done to the bytes.
std::function<std::filesystem::path(const fixtures::TempDir&)> Wave(WaveFormat format, int rate, int channels,
                                                                    void (*damage)(std::string&) = nullptr) {
    return [=](const fixtures::TempDir& dir) {
        const auto file = dir / "tone.wav";
        std::string bytes = fixtures::Wave(format, Tone{440.0, 0.5, rate, channels});
        if (damage != nullptr) {
            damage(bytes);
        }
        fixtures::WriteBytes(file, bytes);
        return file;
    };
}

// Both the PCM and the ADPCM header end where the samples begin.
void CutInHalf(std::string& wave) {
    const std::size_t header = wave.find("data") + 8;
    wave.resize(header + (wave.size() - header) / 2);
}

void OverstateSize(std::string& wave) {
    const std::size_t size = wave.find("data") + 4;
    wave.replace(size, 4, "\xF0\xFF\xFF\x7F");
}

class Format : public DiskOutput, public testing::WithParamInterface<FormatCase> {};

TEST_P(Format, IsHeard) {
    if (GetParam().sine) {
        const Heard heard = Record(GetParam().make(dir_));
        EXPECT_NEAR(heard.soundingSeconds, GetParam().seconds, 0.06);
        EXPECT_NEAR(heard.frequency, 440.0, 440.0 * 0.03);
    } else {
        // The tune: four notes in one second.
        const Heard heard = Record(GetParam().make(dir_), 1200ms);
        EXPECT_GT(heard.soundingSeconds, 0.6);
        EXPECT_LT(heard.soundingSeconds, 1.5);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Decoders, Format,
    testing::Values(FormatCase{"Pcm8", Wave(WaveFormat::Pcm8, 22050, 1)},
                    FormatCase{"Pcm16Stereo", Wave(WaveFormat::Pcm16, 48000, 2)},
                    FormatCase{"AdpcmMono", Wave(WaveFormat::ImaAdpcm, 22050, 1)},
                    FormatCase{"AdpcmStereo", Wave(WaveFormat::ImaAdpcm, 44100, 2)},
                    FormatCase{"Pcm16CutInHalf", Wave(WaveFormat::Pcm16, 22050, 1, CutInHalf), 0.25},
                    FormatCase{"AdpcmCutInHalf", Wave(WaveFormat::ImaAdpcm, 22050, 1, CutInHalf), 0.25},
                    FormatCase{"OverstatedDataSize", Wave(WaveFormat::Pcm16, 22050, 1, OverstateSize)},
                    FormatCase{"Ogg", [](const auto&) { return soundtest::DataFile("tone440.ogg"); }},
                    FormatCase{"Flac", [](const auto&) { return soundtest::DataFile("tone440.flac"); }},
                    FormatCase{"Midi",
                               [](const fixtures::TempDir& dir) {
                                   const auto file = dir / "tune.mid";
                                   fixtures::WriteBytes(file, fixtures::Midi());
                                   return file;
                               },
                               1.0, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

int main(int argc, char** argv) {
    // Set before SDL starts, over the dummy driver that CTest asks for.
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
