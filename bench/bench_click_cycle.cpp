// One choice click as the player makes it: clear the step, read the next one, present its 128 x 128 picture
// and start its wave, then let the window paint. Offscreen, with the real sound player on the dummy driver.
#include "bench/support/SilentSeams.h"
#include "game/Scenariusz.h"
#include "game/Urpggra.h"
#include "platform/sound/SdlMediaPlayer.h"
#include "scenario/Cp1250.h"
#include "scenario/ScenarioWriter.h"
#include "scenario/StepReader.h"
#include "tests/support/BmpFile.h"
#include "tests/support/Files.h"
#include "tests/support/SoundFile.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

namespace {

void BM_ClickCycle(benchmark::State& state) {
    const fixtures::TempDir dir;
    const fixtures::CurrentDirectory inDir(dir.path());
    std::filesystem::create_directory(dir / "Obrazki");
    std::filesystem::create_directory(dir / "Dzwieki");
    fixtures::WriteBytes(dir / "Obrazki" / "las.bmp", fixtures::Bmp24(128, 128, [](int x, int y) {
                             return std::uint32_t(x * 2 << 8 | y * 2);
                         }));
    fixtures::WriteBytes(dir / "Dzwieki" / "ptak.wav",
                         fixtures::Wave(fixtures::WaveFormat::Pcm16, {440.0, 1.0, 22050, 1}));
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
