// The editor's Podgląd view on the generated story of 10,000 steps (bench/support/GeneratedStory), on the
// offscreen platform with silent seams: a keystroke in a choice of the middle step until the preview's game
// window shows it; another step selected until the preview shows it; and a step given a type that carries
// the buttons over until the preview shows the buttons the walk over the whole story finds open there.
#include "bench/support/EditorBench.h"
#include "bench/support/OffscreenEditor.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

using bench::OpenedEditor;
using bench::Seconds;

constexpr std::size_t Steps = bench::EditorSteps;
constexpr std::size_t Middle = Steps / 2;

const std::string& g_story = bench::EditorStory();

game::TFoRpgGra& PreviewGame(editor::EditorWindow& window) {
    return window.Preview()->Game()->Window();
}

// A keystroke in the middle step's first choice until the preview's label of it reads as the form's field
// (wall clock; every choice is at its field's full length, so the first keystroke takes a letter away).
void BM_PreviewAfterKeystroke(benchmark::State& state) {
    const auto editor = OpenedEditor(state);
    if (!editor) {
        return;
    }
    editor::EditorWindow& window = editor->Window();
    window.SelectStep(Middle);
    window.activateWindow();
    QLineEdit* field = window.Form()->Wybor[0];
    field->setFocus(Qt::OtherFocusReason);
    field->end(false);
    QCoreApplication::processEvents();
    bool longer = true;
    for (auto _ : state) {
        longer = !longer;
        const int drawn = window.Preview()->Drawn();
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(field, longer ? Qt::Key_X : Qt::Key_Backspace);
        const bool shown =
            window.Preview()->Drawn() > drawn && PreviewGame(window).LaWybor1->VisibleText() == field->text();
        state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
        if (!shown) {
            state.SkipWithError("the preview did not show the edit");
            break;
        }
        QCoreApplication::processEvents();
    }
}

// Another step selected until the preview shows its description (wall clock).
void BM_PreviewOnSelection(benchmark::State& state) {
    const auto editor = OpenedEditor(state);
    if (!editor) {
        return;
    }
    editor::EditorWindow& window = editor->Window();
    std::size_t index = Middle;
    for (auto _ : state) {
        index = index == Middle ? Middle + 1 : Middle;
        const auto start = std::chrono::steady_clock::now();
        window.SelectStep(index);
        const bool shown = PreviewGame(window).MeOpis->toPlainText() ==
                           QString::fromStdString(window.Document().Step(index).opis).left(250);
        state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
        if (!shown) {
            state.SkipWithError("the preview did not show the selected step");
            break;
        }
        QCoreApplication::processEvents();
    }
}

// The middle step given type 7, which keeps the buttons it is reached with, until the preview is drawn
// with the count the walk over the whole story finds (wall clock); type 1 given back outside the timing.
void BM_PreviewCarriedOverWalk(benchmark::State& state) {
    const auto editor = OpenedEditor(state);
    if (!editor) {
        return;
    }
    editor::EditorWindow& window = editor->Window();
    window.SelectStep(Middle);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        const int drawn = window.Preview()->Drawn();
        const auto start = std::chrono::steady_clock::now();
        window.Document().SetTyp(Middle, 7);
        const bool walked = window.Preview()->Drawn() > drawn;
        state.SetIterationTime(Seconds(std::chrono::steady_clock::now() - start));
        if (!walked) {
            state.SkipWithError("the preview did not show the step of type 7");
            break;
        }
        window.Document().SetTyp(Middle, 1);
        QCoreApplication::processEvents();
    }
}

BENCHMARK(BM_PreviewAfterKeystroke)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_PreviewOnSelection)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_PreviewCarriedOverWalk)->Unit(benchmark::kMicrosecond)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    return bench::RunEditorBenchmarks(argc, argv);
}
