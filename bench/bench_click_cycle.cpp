// One choice click as the player makes it: clear the step, read the next one, present its 128 x 128 picture
// and start its wave, then let the window paint. Offscreen, with the real sound player on the dummy driver.
#include "game/Scenariusz.h"
#include "game/Urpggra.h"
#include "platform/sound/SdlMediaPlayer.h"
#include "scenario/StepReader.h"
#include "tests/support/BmpFile.h"
#include "tests/support/Fakes.h"
#include "tests/support/ScenarioWriter.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

std::vector<std::uint8_t> Wave(int samples) {
    std::vector<std::uint8_t> out;
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int k = 0; k < bytes; ++k) {
            out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
        }
    };
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put(36 + samples * 2, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(22050, 4);
    put(44100, 4);
    put(2, 2);
    put(16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put(samples * 2, 4);
    for (int i = 0; i < samples; ++i) {
        put(static_cast<std::uint16_t>(static_cast<std::int16_t>(8000 * std::sin(i * 0.125))), 2);
    }
    return out;
}

void BM_ClickCycle(benchmark::State& state) {
    fixtures::TempDir dir;
    fixtures::CurrentDirectory cwd(dir.path());
    std::filesystem::create_directory(dir / "Obrazki");
    std::filesystem::create_directory(dir / "Dzwieki");
    fixtures::WriteBytes(dir / "Obrazki" / "las.bmp", fixtures::Bmp24(128, 128, [](int x, int y) {
                             return std::uint32_t(x * 2 << 8 | y * 2);
                         }));
    fixtures::WriteBytes(dir / "Dzwieki" / "ptak.wav", Wave(22050));
    fixtures::Step zero, step;
    step.opis = "Ścieżka wśród drzew prowadzi do starego młyna nad strumieniem.";
    step.wybory = {"Idź dalej", "Zawróć", "Usiądź", "Nasłuchuj"};
    step.bmp = "las.bmp";
    step.wav = "ptak.wav";
    step.targets = {1, 1, 1, 1};
    fixtures::WriteScenario(dir / "bench.Kro", {zero, step});

    fixtures::RecordingMessages messages;
    platform::SdlMediaPlayer player;
    game::TFoRpgGra gra(messages, player);
    game::Scenariusz = QString::fromStdString((dir / "bench.Kro").string());
    gra.Show();
    QCoreApplication::processEvents();

    for (auto _ : state) {
        gra.BuWybor1Click();
        QCoreApplication::processEvents();
    }
    if (!messages.log.isEmpty()) {
        state.SkipWithError(messages.log.join("; ").toStdString().c_str());
    }
    gra.Hide();
}

} // namespace

BENCHMARK(BM_ClickCycle)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qgetenv("SDL_AUDIODRIVER").isEmpty()) {
        qputenv("SDL_AUDIODRIVER", "dummy");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
