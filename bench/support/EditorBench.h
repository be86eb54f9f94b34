#pragma once
// What the editor's window benchmarks share: the generated story they open, its scratch folder, the
// clocks they read, the window opened on the story, and their main.

#include "bench/support/OffscreenEditor.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace bench {

inline constexpr std::size_t EditorSteps = 10000;

// The story file and the folder it lies in, written before the benchmarks run.
const std::string& EditorStory();
const std::string& EditorScratch();

double Seconds(std::chrono::steady_clock::duration d);
// The calling thread's CPU time.
double ThreadCpuSeconds();

// The editor on the story, opened and checked; nullptr (and the benchmark skipped) when it could not be.
std::unique_ptr<OffscreenEditor> OpenedEditor(benchmark::State& state);

// Writes the story into a scratch folder, makes the application on the offscreen platform and runs the
// benchmarks registered in the program.
int RunEditorBenchmarks(int argc, char** argv);

} // namespace bench
