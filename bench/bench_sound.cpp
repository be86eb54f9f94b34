// What a click that starts or stops a sound costs: the device stays open, so only loading, starting and
// halting count. On the dummy driver, so no sound card is needed.
#include "platform/sound/SdlMediaPlayer.h"
#include "tests/support/Files.h"
#include "tests/support/SoundFile.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

const bool dummyDriver = [] {
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    return (driver != nullptr && *driver != '\0') || ::setenv("SDL_AUDIODRIVER", "dummy", 1) == 0;
}();

class Sound : public benchmark::Fixture {
  public:
    void SetUp(benchmark::State&) override {
        // A fifth of a second of 440 Hz, 16-bit mono at 22050 Hz; a second of four piano notes.
        fixtures::WriteBytes(dir / "tone.wav",
                             fixtures::Wave(fixtures::WaveFormat::Pcm16, {440.0, 0.2, 22050, 1}));
        fixtures::WriteBytes(dir / "tune.mid", fixtures::Midi());
        // Opens the device, which happens once a program.
        player.Open(Path("tone.wav"));
        player.Close();
    }

    QString Path(const char* name) const { return QString::fromStdString((dir / name).string()); }

    fixtures::TempDir dir;
    platform::SdlMediaPlayer player;
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
