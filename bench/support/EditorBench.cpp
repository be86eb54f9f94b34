#include "bench/support/EditorBench.h"

#include "bench/support/GeneratedStory.h"
#include "tests/support/TempDir.h"

#include <QApplication>

#include <ctime>
#include <fstream>

namespace bench {

namespace {

std::string& Story() {
    static std::string story;
    return story;
}

std::string& Scratch() {
    static std::string scratch;
    return scratch;
}

} // namespace

const std::string& EditorStory() {
    return Story();
}

const std::string& EditorScratch() {
    return Scratch();
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double ThreadCpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::unique_ptr<OffscreenEditor> OpenedEditor(benchmark::State& state) {
    auto editor = std::make_unique<OffscreenEditor>();
    if (!editor->OpenAndWait(QString::fromStdString(EditorStory()))) {
        state.SkipWithError(("the story did not open: " + editor->Trouble()).toStdString().c_str());
        return nullptr;
    }
    return editor;
}

int RunEditorBenchmarks(int argc, char** argv) {
    const fixtures::TempDir scratch;
    Scratch() = scratch.path().string();
    Story() = Scratch() + "/historia.txt";
    std::ofstream(Story(), std::ios::binary) << GeneratedStory(EditorSteps);
    PrepareOffscreenEditor(Scratch());
    QApplication app(argc, argv);
    QApplication::setApplicationName("przygoda-edytor");
    QApplication::setOrganizationName("przygoda");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
