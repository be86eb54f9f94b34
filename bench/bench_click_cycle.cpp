// One choice click as the player makes it: clear the step, read the next one, present its 128 x 128 picture
// and start its wave, then let the window paint. Offscreen, with the real sound player on the dummy driver.
#include "bench/support/BenchFiles.h"
#include "bench/support/SilentSeams.h"
#include "game/Scenariusz.h"
#include "game/Urpggra.h"
#include "platform/sound/SdlMediaPlayer.h"
#include "scenario/Cp1250.h"
#include "scenario/ScenarioWriter.h"
#include "scenario/StepReader.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

namespace {

void BM_ClickCycle(benchmark::State& state) {
    bench::Folder dir(true);
    std::filesystem::create_directory(dir / "Obrazki");
    std::filesystem::create_directory(dir / "Dzwieki");
    bench::WriteFile(dir / "Obrazki" / "las.bmp",
                     bench::Bmp24(128, 128, [](int x, int y) { return std::uint32_t(x * 2 << 8 | y * 2); }));
    bench::WriteFile(dir / "Dzwieki" / "ptak.wav", bench::Wave(22050));
    scenario::StepRecord zero, step;
    step.Opis = scenario::Utf8ToCp1250("Ścieżka wśród drzew prowadzi do starego młyna nad strumieniem.");
    for (std::size_t k = 0; k < 4; ++k) {
        step.Wybor[k] = scenario::Utf8ToCp1250(std::array{"Idź dalej", "Zawróć", "Usiądź", "Nasłuchuj"}[k]);
    }
    step.Bmp = "las.bmp";
    step.Wav = "ptak.wav";
    step.Krok_Wybrany = {1, 1, 1, 1};
    step.Typ = 1;
    scenario::WriteScenario((dir / "bench.Kro").string(), {zero, step}, true);

    bench::KeptMessages messages;
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
