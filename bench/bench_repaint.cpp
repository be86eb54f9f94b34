// How a repaint of the game window's picture grows with the picture: PaObrazekPaint reads the BMP file from
// disk, decodes it, fills the area and draws it. Square 24-bit pictures from 16 x 16 to 1024 x 1024,
// offscreen. Also an idle pass of the event loop over the shown window: the floor under a click cycle.
#include "bench/support/SilentSeams.h"
#include "game/Scenariusz.h"
#include "game/Urpggra.h"
#include "scenario/Cp1250.h"
#include "scenario/ScenarioWriter.h"
#include "scenario/StepReader.h"
#include "tests/support/BmpFile.h"
#include "tests/support/Files.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

// A game window showing step 1 of a one-step scenario whose picture is a size x size 24-bit BMP.
struct PictureStep {
    fixtures::TempDir dir;
    fixtures::CurrentDirectory inDir{dir.path()};
    bench::KeptMessages messages;
    bench::SilentMediaPlayer player;
    game::TFoRpgGra gra{messages, player};

    explicit PictureStep(int size) {
        std::filesystem::create_directory(dir / "Obrazki");
        std::array<char, 32> buffer{};
        std::snprintf(buffer.data(), buffer.size(), "p%d.bmp", size);
        const std::string name(buffer.data());
        fixtures::WriteBytes(dir / "Obrazki" / name, fixtures::Bmp24(size, size, [](int x, int y) {
                                 return static_cast<std::uint32_t>((x * 3 & 255) << 16 | (y * 5 & 255) << 8 |
                                                                   ((x ^ y) & 255));
                             }));
        scenario::StepRecord zero;
        scenario::StepRecord step;
        step.Opis = scenario::Utf8ToCp1250("Obraz na ścianie.");
        step.Wybor[0] = "Dalej";
        step.Bmp = name;
        step.Krok_Wybrany = {1, 1, 1, 1};
        step.Typ = 1;
        scenario::WriteScenario((dir / "bench.Kro").string(), {zero, step}, true);
        game::Scenariusz = QString::fromStdString((dir / "bench.Kro").string());
        gra.Show();
        QCoreApplication::processEvents();
    }

    ~PictureStep() { gra.Hide(); }

    PictureStep(const PictureStep&) = delete;
    PictureStep& operator=(const PictureStep&) = delete;

    void Check(benchmark::State& state, int size) const {
        if (!messages.log.isEmpty()) {
            state.SkipWithError(messages.log.join("; ").toStdString().c_str());
        } else if (gra.Obrazek.width() != size || gra.Obrazek.height() != size) {
            state.SkipWithError("the picture was not loaded");
        }
    }
};

void Counters(benchmark::State& state, int size) {
    state.counters["pixels"] = static_cast<double>(size) * size;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * size * size * 3);
}

// The handler alone: file, decode, fill, draw on the canvas.
void BM_PaObrazekPaint(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    PictureStep s(size);
    for (auto _ : state) {
        s.gra.PaObrazekPaint();
        benchmark::DoNotOptimize(s.gra.PaObrazek->Canvas().constBits());
    }
    s.Check(state, size);
    Counters(state, size);
}

// A full repaint of the paint box as an uncovered window gets it: the handler, then the canvas onto the
// window's backing store.
void BM_Repaint(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    PictureStep s(size);
    for (auto _ : state) {
        s.gra.PaObrazek->repaint();
    }
    s.Check(state, size);
    Counters(state, size);
}

void BM_IdleEventLoop(benchmark::State& state) {
    PictureStep s(128);
    for (auto _ : state) {
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(BM_PaObrazekPaint)->RangeMultiplier(2)->Range(16, 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Repaint)->RangeMultiplier(2)->Range(16, 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdleEventLoop)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
