// The editor's story map on a generated story of 10,000 steps (bench/support/GeneratedStory), offscreen:
// a frame painted into a 1000 x 700 image while panning at several zoom levels (the whole map, the
// overview, plain boxes, numbers, texts) and while zooming from the whole map in to texts, each frame's time
// kept so that the median and the 95th percentile are reported; laying the map out; and the map following
// an edit: the interface thread's share and the time until the new picture is shown, and a text edit.
#include "bench/support/GeneratedStory.h"
#include "editor/MapView.h"
#include "editor/StoryMap.h"
#include "editor/core/StoryDocument.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

namespace {

constexpr std::size_t Steps = 10000;
const QSize Frame(1000, 700);

editor::StoryDocument& Document() {
    static editor::StoryDocument document(bench::GeneratedStory(Steps));
    return document;
}

std::shared_ptr<const editor::MapPicture> Picture() {
    static const auto picture = editor::MapPicture::Make(
        std::make_shared<const editor::MapStructure>(editor::MapStructure::Of(Document())));
    return picture;
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void Percentiles(benchmark::State& state, std::vector<double> seconds) {
    if (seconds.empty()) {
        return;
    }
    std::sort(seconds.begin(), seconds.end());
    const auto at = [&](double q) {
        return seconds[std::min(seconds.size() - 1,
                                static_cast<std::size_t>(q * static_cast<double>(seconds.size())))];
    };
    state.counters["median_ms"] = at(0.5) * 1e3;
    state.counters["p95_ms"] = at(0.95) * 1e3;
    state.counters["frames"] = static_cast<double>(seconds.size());
}

// A view of the map as the editor shows it, the step selected in the middle of the story (its way drawn).
struct Viewer {
    Viewer() : view(Document()) {
        view.resize(Frame);
        editor::StepMarks marks;
        view.SetPicture(Picture(), editor::MapView::DrawOverview(*Picture(), marks));
        view.Select(static_cast<std::int64_t>(Steps / 2));
    }
    double Fit() const {
        return std::min(Frame.width() / Picture()->Width(), Frame.height() / Picture()->Height()) * 0.95;
    }
    double Paint() {
        QImage image(Frame, QImage::Format_RGB32);
        const auto start = std::chrono::steady_clock::now();
        {
            QPainter painter(&image);
            view.PaintFrame(painter, Frame);
        }
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    editor::MapView view;
};

// Panning: the centre goes round the map, a third of the frame each step, at the zoom given in thousandths
// (0: the whole map).
void BM_MapFramePanning(benchmark::State& state) {
    Viewer viewer;
    const double scale = state.range(0) == 0 ? viewer.Fit() : static_cast<double>(state.range(0)) / 1000;
    const double w = Picture()->Width(), h = Picture()->Height();
    double x = w / 2, y = h / 2;
    std::vector<double> frames;
    for (auto _ : state) {
        x += Frame.width() / 3.0 / scale;
        y += Frame.height() / 5.0 / scale;
        x = std::fmod(x, w);
        y = std::fmod(y, h);
        viewer.view.SetView(scale, {x, y});
        const double seconds = viewer.Paint();
        state.SetIterationTime(seconds);
        frames.push_back(seconds);
    }
    Percentiles(state, frames);
    state.counters["scale"] = scale;
}

// Zooming: from the whole map in to texts and out again, a tenth more or less each frame, around the
// selected step.
void BM_MapFrameZooming(benchmark::State& state) {
    Viewer viewer;
    const auto& centre = Picture()
                             ->Layout()
                             .nodes[static_cast<std::size_t>(*Picture()->Structure().NodeOfNumber(Steps / 2))]
                             .centre;
    double scale = viewer.Fit();
    double factor = 1.1;
    std::vector<double> frames;
    for (auto _ : state) {
        scale *= factor;
        if (scale > 1.2 || scale < viewer.Fit()) {
            factor = 1 / factor;
        }
        viewer.view.SetView(scale, {centre.x, centre.y});
        const double seconds = viewer.Paint();
        state.SetIterationTime(seconds);
        frames.push_back(seconds);
    }
    Percentiles(state, frames);
}

// The whole map laid out afresh from the document, as the map's thread does for an opened story.
void BM_MapLayout(benchmark::State& state) {
    Document();
    for (auto _ : state) {
        const auto picture = editor::MapPicture::Make(
            std::make_shared<const editor::MapStructure>(editor::MapStructure::Of(Document())));
        benchmark::DoNotOptimize(picture.get());
    }
}

// The overview image, drawn on the map's thread after each new picture and new marks.
void BM_MapOverview(benchmark::State& state) {
    Picture();
    const editor::StepMarks marks;
    for (auto _ : state) {
        const QImage image = editor::MapView::DrawOverview(*Picture(), marks);
        benchmark::DoNotOptimize(image.constBits());
    }
}

bool WaitFor(const editor::StoryMap& map, int pictures) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (map.Pictures() < pictures || map.Busy()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// A new step linked from the middle of the story: the interface thread's share (reading the document's
// shape again and handing it to the map's thread; its CPU time as a counter) and the wall time until the
// map shows the new picture. Undone untimed.
void BM_MapFollowsNewStep(benchmark::State& state) {
    editor::StoryDocument& document = Document();
    editor::StoryMap map(document);
    map.resize(Frame);
    map.DocumentReset();
    if (!WaitFor(map, 1)) {
        state.SkipWithError("the map was not laid out");
        return;
    }
    std::vector<double> interface;
    for (auto _ : state) {
        const int pictures = map.Pictures();
        QElapsedTimer wall;
        wall.start();
        const double cpu = ThreadCpuSeconds();
        document.AddLinkedStep(Steps / 2, 4, "Nowy");
        map.DocumentChanged(document.ChangedStep());
        interface.push_back(ThreadCpuSeconds() - cpu);
        if (!WaitFor(map, pictures + 1)) {
            state.SkipWithError("the map did not follow");
            return;
        }
        state.SetIterationTime(static_cast<double>(wall.nsecsElapsed()) * 1e-9);
        document.Undo();
        map.DocumentChanged(document.ChangedStep());
        WaitFor(map, pictures + 2);
    }
    std::sort(interface.begin(), interface.end());
    state.counters["interface_ms"] = interface[interface.size() / 2] * 1e3;
}

// Typing in a description: the map finds its shape unchanged and only repaints.
void BM_MapFollowsTextEdit(benchmark::State& state) {
    editor::StoryDocument& document = Document();
    editor::StoryMap map(document);
    map.DocumentReset();
    if (!WaitFor(map, 1)) {
        state.SkipWithError("the map was not laid out");
        return;
    }
    const std::string opis = document.Step(Steps / 2).opis;
    bool longer = false;
    for (auto _ : state) {
        longer = !longer;
        document.SetOpis(Steps / 2, longer ? opis + "x" : opis);
        map.DocumentChanged(document.ChangedStep());
    }
    if (map.Busy()) {
        state.SkipWithError("a text edit started a layout");
    }
}

BENCHMARK(BM_MapFramePanning)
    ->ArgName("zoom_permille")
    ->Arg(0)
    ->Arg(20)
    ->Arg(80)
    ->Arg(200)
    ->Arg(400)
    ->Arg(1000)
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapFrameZooming)->Iterations(300)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapOverview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapFollowsNewStep)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapFollowsTextEdit)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
