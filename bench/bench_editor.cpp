// The story editor's document on a generated story of 10,000 steps (bench/support/GeneratedStory): opening
// it, one keystroke in a description, one source view edit in the middle of a description or of a "krok"
// line, one undo, a deletion, the heap it takes; and the anchor, the toolkit's parser compiling the same
// text.
#include "bench/support/GeneratedStory.h"
#include "editor/core/StoryDocument.h"
#include "kit/Source.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

constexpr std::size_t Steps = 10000;
constexpr std::size_t Middle = Steps / 2;

const std::string& Story() {
    static const std::string story = bench::GeneratedStory(Steps);
    return story;
}

void BM_ParseStory(benchmark::State& state) {
    Story();
    for (auto _ : state) {
        const kit::ParseResult result = kit::ParseStory(Story(), "story.txt");
        if (!result.errors.empty()) {
            state.SkipWithError(result.errors.front().message.c_str());
            break;
        }
        benchmark::DoNotOptimize(result.story.records.data());
    }
    state.counters["bytes"] = static_cast<double>(Story().size());
}

void BM_Open(benchmark::State& state) {
    Story();
    for (auto _ : state) {
        editor::StoryDocument document(Story());
        benchmark::DoNotOptimize(document.StepCount());
    }
}

// Typing at the end of a description: one more character, then one less, merging into one undo step as
// typing does.
void BM_OpisKeystroke(benchmark::State& state) {
    editor::StoryDocument document(Story());
    const std::string opis = document.Step(Middle).opis;
    bool longer = false;
    for (auto _ : state) {
        longer = !longer;
        document.SetOpis(Middle, longer ? opis + "x" : opis);
    }
}

// Each keystroke in another step's description: a new undo step every time, up to the history's limit.
void BM_OpisKeystrokeEachStep(benchmark::State& state) {
    editor::StoryDocument document(Story());
    std::size_t step = 0;
    for (auto _ : state) {
        step = (step + 7) % Steps;
        const std::string& opis = document.Step(step).opis;
        document.SetOpis(step, opis.ends_with('x') ? opis.substr(0, opis.size() - 1) : opis + "x");
    }
}

// A source view edit of a description's middle line, as a keystroke there sends it.
void BM_ReplaceLines(benchmark::State& state) {
    editor::StoryDocument document(Story());
    const editor::StepView& step = document.Step(Middle);
    std::size_t line = step.firstLine;
    while (!document.Text().Line(line).starts_with("opis")) {
        ++line;
    }
    ++line; // the description's second line
    const std::string original = document.Text().Line(line);
    bool longer = false;
    for (auto _ : state) {
        longer = !longer;
        document.ReplaceLines(line, 1, {longer ? original + "x" : original});
    }
}

// A source view edit of a step's "krok" line: the two steps around it are read again.
void BM_ReplaceKrokLine(benchmark::State& state) {
    editor::StoryDocument document(Story());
    const std::size_t line = document.Step(Middle).firstLine;
    const std::string original = document.Text().Line(line);
    bool longer = false;
    for (auto _ : state) {
        longer = !longer;
        document.ReplaceLines(line, 1, {longer ? original + "x" : original});
    }
}

// Undoing one keystroke in a description (each redo untimed).
void BM_Undo(benchmark::State& state) {
    editor::StoryDocument document(Story());
    document.SetOpis(Middle, document.Step(Middle).opis + "x");
    for (auto _ : state) {
        document.Undo();
        state.PauseTiming();
        document.Redo();
        state.ResumeTiming();
    }
}

// Undoing a step's deletion, which reads the whole source again (each redo untimed).
void BM_UndoDelete(benchmark::State& state) {
    editor::StoryDocument document(Story());
    document.DeleteStep(Middle);
    for (auto _ : state) {
        document.Undo();
        state.PauseTiming();
        document.Redo();
        state.ResumeTiming();
    }
}

// Deleting a step in the middle: half the steps are numbered down, and every target naming them.
void BM_DeleteStep(benchmark::State& state) {
    editor::StoryDocument document(Story());
    for (auto _ : state) {
        document.DeleteStep(Middle);
        state.PauseTiming();
        document.Undo();
        state.ResumeTiming();
    }
}

// The heap the document takes a step: open, then with a full history of single-step edits.
void BM_Memory(benchmark::State& state) {
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        editor::StoryDocument document(Story());
        const std::size_t open = mallinfo2().uordblks;
        for (std::size_t i = 0; i < editor::StoryDocument::HistoryLimit; ++i) {
            const std::size_t step = i * 7 % Steps;
            document.SetOpis(step, document.Step(step).opis + "x");
        }
        const std::size_t full = mallinfo2().uordblks;
        state.counters["open_bytes_per_step"] = static_cast<double>(open - before) / Steps;
        state.counters["full_history_bytes_per_step"] = static_cast<double>(full - before) / Steps;
        state.counters["text_bytes_per_step"] = static_cast<double>(Story().size()) / Steps;
    }
}

BENCHMARK(BM_ParseStory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpisKeystroke)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpisKeystrokeEachStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReplaceLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Undo)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReplaceKrokLine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
