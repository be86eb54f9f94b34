// The story editor's window on the generated story of 10,000 steps with the spell check on: the Polish
// dictionary loaded once (on its own thread, as the editor loads it at start), then opening the story until
// its first step shows with its description and choices checked, and a keystroke in the description with
// the marks computed again. Anchor: `przygoda-kit build` of the same story in a child process, as in
// bench_editor_window.
#include "bench/support/EditorBench.h"
#include "bench/support/OffscreenEditor.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using bench::OpenedEditor;
using bench::Seconds;
using bench::ThreadCpuSeconds;

constexpr std::size_t Steps = bench::EditorSteps;
constexpr std::size_t Middle = Steps / 2;

const std::string& g_scratch = bench::EditorScratch();
const std::string& g_story = bench::EditorStory();

// Runs `args` with its output discarded; false when it could not start or did not exit with 0.
bool RunQuietly(std::vector<std::string> args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return false;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The dictionary as the editor's first window loads it: from a checker's making until it is ready (one
// iteration: a process loads it once).
void BM_DictionaryLoad(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        bench::OffscreenEditor editor;
        const bool ready =
            bench::WaitUntil([&] { return editor.Window().Spelling()->IsReady(); }, bench::GenerousBound);
        state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
        if (!ready) {
            state.SkipWithError(
                ("no dictionary: " + editor.Window().Spelling()->Failure()).toStdString().c_str());
            break;
        }
    }
}

// Anchor: `przygoda-kit build` of the story in a child process.
void BM_KitBuild(benchmark::State& state) {
    const std::string out = g_scratch + "/built";
    std::filesystem::create_directories(out);
    for (auto _ : state) {
        if (!RunQuietly({PRZYGODA_KIT_BINARY, "build", g_story, "-o", out, "--force"})) {
            state.SkipWithError("przygoda-kit build failed");
            break;
        }
    }
}

// Opening the story in a fresh window, the spell check on and its dictionary there, until the form shows
// the first step with its texts checked (wall clock). Each window is made, and its check awaited, untimed.
void BM_OpenStorySpelling(benchmark::State& state) {
    for (auto _ : state) {
        bench::OffscreenEditor editor;
        editor::EditorWindow& window = editor.Window();
        if (!bench::WaitUntil([&] { return window.Spelling()->IsReady(); }, bench::GenerousBound) ||
            !window.Spelling()->IsEnabled()) {
            state.SkipWithError("the spell check is not on");
            break;
        }
        const int seen = editor.Reports();
        const auto start = std::chrono::steady_clock::now();
        const bool opened = window.Open(QString::fromStdString(g_story));
        QCoreApplication::processEvents();
        state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
        if (!opened || window.Document().StepCount() != Steps || window.SelectedStep() != 0 ||
            window.Form()->Opis->toPlainText().isEmpty()) {
            state.SkipWithError(("the story did not show: " + editor.Trouble()).toStdString().c_str());
            break;
        }
        state.counters["marks"] = static_cast<double>(window.Marks()->Marks(0).size());
        if (!editor.WaitForReportAfter(seen)) {
            state.SkipWithError("the story's check was never shown");
            break;
        }
    }
}

// One keystroke at the end of the middle step's description, its marks computed again: the interface
// thread's CPU time.
void BM_OpisKeystrokeSpelling(benchmark::State& state) {
    bench::OffscreenEditor editor;
    if (!editor.OpenAndWait(QString::fromStdString(g_story)) ||
        !bench::WaitUntil([&] { return editor.Window().Spelling()->IsReady(); }, bench::GenerousBound)) {
        state.SkipWithError(("the story did not open: " + editor.Trouble()).toStdString().c_str());
        return;
    }
    editor::EditorWindow& window = editor.Window();
    window.SelectStep(Middle);
    window.activateWindow();
    QPlainTextEdit* opis = window.Form()->Opis;
    opis->setFocus(Qt::OtherFocusReason);
    opis->moveCursor(QTextCursor::End);
    QCoreApplication::processEvents();
    bool longer = true;
    for (auto _ : state) {
        const double start = ThreadCpuSeconds();
        QTest::keyClick(opis, longer ? Qt::Key_X : Qt::Key_Backspace);
        state.SetIterationTime(ThreadCpuSeconds() - start);
        longer = !longer;
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_DictionaryLoad)->Iterations(1)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_KitBuild)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenStorySpelling)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_OpisKeystrokeSpelling)->Unit(benchmark::kMicrosecond)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    return bench::RunEditorBenchmarks(argc, argv);
}
