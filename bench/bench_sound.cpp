// What a click that starts or stops a sound costs: the device stays open, so only loading, starting and
// halting count. On the dummy driver, so no sound card is needed.
#include "bench/support/BenchFiles.h"
#include "platform/sound/SdlMediaPlayer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <string>
#include <thread>

namespace {

const bool dummyDriver = [] {
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    return (driver != nullptr && *driver != '\0') || ::setenv("SDL_AUDIODRIVER", "dummy", 1) == 0;
}();

void Put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// A fifth of a second of 440 Hz, 16-bit mono at 22050 Hz.
std::string ShortWave() {
    constexpr int kRate = 22050;
    std::string data;
    for (int i = 0; i < kRate / 5; ++i) {
        const double sample = 16000.0 * std::sin(2 * std::numbers::pi * 440.0 * i / kRate);
        Put(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(sample)), 2);
    }
    std::string wave = "RIFF";
    Put(wave, static_cast<std::uint32_t>(36 + data.size()), 4);
    wave += "WAVEfmt ";
    Put(wave, 16, 4);
    Put(wave, 1, 2);
    Put(wave, 1, 2);
    Put(wave, kRate, 4);
    Put(wave, kRate * 2, 4);
    Put(wave, 2, 2);
    Put(wave, 16, 2);
    wave += "data";
    Put(wave, static_cast<std::uint32_t>(data.size()), 4);
    return wave + data;
}

// One note of half a second.
const std::string kMidi("MThd\0\0\0\6\0\0\0\1\0\x60"
                        "MTrk\0\0\0\x0C\0\x90\x45\x64\x60\x80\x45\x40\0\xFF\x2F\0",
                        34);

class Sound : public benchmark::Fixture {
  public:
    void SetUp(benchmark::State&) override {
        Write("tone.wav", ShortWave());
        Write("tune.mid", kMidi);
        // Opens the device, which happens once a program.
        player.Open(Path("tone.wav"));
        player.Close();
    }

    QString Path(const char* name) const { return QString::fromStdString((dir / name).string()); }

    bench::Folder dir;
    platform::SdlMediaPlayer player;

  private:
    void Write(const char* name, const std::string& bytes) const {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }
};

BENCHMARK_F(Sound, OpenCloseWave)(benchmark::State& state) {
    const QString wave = Path("tone.wav");
    for (auto _ : state) {
        player.Open(wave);
        player.Close();
    }
}

BENCHMARK_F(Sound, OpenPlayCloseWave)(benchmark::State& state) {
    const QString wave = Path("tone.wav");
    for (auto _ : state) {
        player.Open(wave);
        player.Play();
        player.Close();
    }
}

// Closing a sound heard for a while, as a click does. Closing right after Play is in OpenPlayClose.
void CloseWhilePlaying(Sound& sound, benchmark::State& state, const char* name) {
    const QString file = sound.Path(name);
    for (auto _ : state) {
        state.PauseTiming();
        sound.player.Open(file);
        sound.player.Play();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        state.ResumeTiming();
        sound.player.Close();
    }
}

BENCHMARK_DEFINE_F(Sound, CloseWhilePlayingWave)(benchmark::State& state) {
    CloseWhilePlaying(*this, state, "tone.wav");
}
BENCHMARK_REGISTER_F(Sound, CloseWhilePlayingWave)->Iterations(60)->Unit(benchmark::kMicrosecond);

BENCHMARK_DEFINE_F(Sound, CloseWhilePlayingMidi)(benchmark::State& state) {
    CloseWhilePlaying(*this, state, "tune.mid");
}
BENCHMARK_REGISTER_F(Sound, CloseWhilePlayingMidi)->Iterations(60)->Unit(benchmark::kMicrosecond);

BENCHMARK_F(Sound, OpenPlayCloseMidi)(benchmark::State& state) {
    const QString tune = Path("tune.mid");
    for (auto _ : state) {
        player.Open(tune);
        player.Play();
        player.Close();
    }
}

// Loads the soundfont every time: the price of a MIDI sound.
BENCHMARK_F(Sound, OpenCloseMidi)(benchmark::State& state) {
    const QString tune = Path("tune.mid");
    for (auto _ : state) {
        player.Open(tune);
        player.Close();
    }
}

} // namespace
