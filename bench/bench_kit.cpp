// przygoda-kit on generated scenarios of 10^4, 10^5 and 10^6 steps, written by the scenario writer into a
// temporary folder: check (without media) and map --dot, against reading both files with pread() in the
// same run; and the peak memory of the command-line check of 10^6 steps, in a child process.
// The story map's layout on branching stories of 10^2, 10^3 and 10^4 steps (four choices a step, three
// forward and one back), once whole and once after adding a step; and `map -o .svg` of 10^3 steps, the
// command line in a child process with Graphviz drawing.
#include "kit/Check.h"
#include "kit/Layout.h"
#include "kit/Map.h"
#include "kit/MapPlacer.h"
#include "scenario/ScenarioWriter.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <ostream>
#include <spawn.h>
#include <streambuf>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A story of `steps` records: a long road of two-choice steps (choice 1 leads on, choice 2 three steps
// back, or every thousandth step to the ending at the last record); record 0 is the usual empty placeholder.
// Every step is reachable and can reach the ending, so check reports nothing.
class Generated {
  public:
    const std::string& Kro(std::int64_t steps) {
        auto found = paths_.find(steps);
        if (found != paths_.end()) {
            return found->second;
        }
        std::string kro = (folder_ / "g").string();
        kro += std::to_string(steps) + ".Kro";
        scenario::ScenarioWriter writer(kro, true);
        writer.Add(scenario::StepRecord{});
        for (std::int64_t i = 1; i < steps; ++i) {
            scenario::StepRecord s;
            s.Nazwa = "Krok " + std::to_string(i);
            s.Opis = "Droga biegnie dalej przez las; " + std::string(60, 'm') + " " + std::to_string(i);
            if (i + 1 == steps) {
                s.Typ = 2;
            } else {
                const std::int64_t back = i % 1000 == 0 ? steps - 1 : std::max<std::int64_t>(1, i - 3);
                s.Typ = 4;
                s.Wybor = {"Idź dalej", "Zawróć", "", ""};
                s.Krok_Wybrany = {static_cast<std::int32_t>(i + 1), static_cast<std::int32_t>(back), 0, 0};
            }
            writer.Add(s);
        }
        writer.Commit();
        return paths_.emplace(steps, kro).first->second;
    }

    // A branching story of records 1 .. steps (BranchTargets), the last one its ending.
    const std::string& BranchingKro(std::int64_t steps) {
        auto found = branching_.find(steps);
        if (found != branching_.end()) {
            return found->second;
        }
        const std::string kro = (folder_ / ("b" + std::to_string(steps) + ".Kro")).string();
        scenario::ScenarioWriter writer(kro, true);
        writer.Add(scenario::StepRecord{});
        for (std::int64_t i = 1; i <= steps; ++i) {
            scenario::StepRecord s;
            s.Nazwa = "Krok " + std::to_string(i);
            s.Opis = "Droga biegnie dalej przez las, a potem " + std::to_string(i);
            if (i == steps) {
                s.Typ = 2;
            } else {
                s.Typ = 1;
                s.Wybor = {"Idź prosto", "Skręć w lewo", "Skręć w prawo", "Zawróć"};
                s.Krok_Wybrany = BranchTargets(i, steps);
            }
            writer.Add(s);
        }
        writer.Commit();
        return branching_.emplace(steps, kro).first->second;
    }

    // Step i's four choices: on to i + 1, i + 2..4 and i + 3..9, and back to i - 1..8 (not before record
    // 1); a target past the ending leads to the ending.
    static std::array<std::int32_t, 4> BranchTargets(std::int64_t i, std::int64_t steps) {
        const auto h = static_cast<std::uint32_t>(static_cast<std::uint64_t>(i) * 2654435761u);
        const std::int64_t targets[4] = {i + 1, i + 2 + h % 3, i + 3 + (h >> 8) % 7,
                                         std::max<std::int64_t>(1, i - 1 - (h >> 16) % 8)};
        std::array<std::int32_t, 4> out{};
        for (int k = 0; k < 4; ++k) {
            out[static_cast<std::size_t>(k)] = static_cast<std::int32_t>(std::min(targets[k], steps));
        }
        return out;
    }

    std::string Folder() const { return folder_.path().string(); }

  private:
    fixtures::TempDir folder_;
    std::map<std::int64_t, std::string> paths_;
    std::map<std::int64_t, std::string> branching_;
};

Generated& Scenarios() {
    static Generated generated;
    return generated;
}

struct CountingSink : kit::FindingSink {
    std::int64_t count = 0;
    void Report(const kit::Finding&) override { ++count; }
};

// An ostream that throws its characters away, counting them.
class NullBuffer : public std::streambuf {
  public:
    std::int64_t written = 0;

  protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        written += n;
        return n;
    }
    int overflow(int c) override {
        ++written;
        return c;
    }
};

void BM_Check(benchmark::State& state) {
    const std::string& kro = Scenarios().Kro(state.range(0));
    for (auto _ : state) {
        kit::FileInput input(kro);
        CountingSink sink;
        const kit::CheckSummary summary = kit::CheckScenario(input, nullptr, sink);
        benchmark::DoNotOptimize(summary);
        if (summary.errors != 0 || summary.warnings != 0) {
            state.SkipWithError("check found something in the generated scenario");
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_MapDot(benchmark::State& state) {
    const std::string& kro = Scenarios().Kro(state.range(0));
    for (auto _ : state) {
        kit::FileInput input(kro);
        NullBuffer buffer;
        std::ostream out(&buffer);
        kit::WriteDot(input, out);
        benchmark::DoNotOptimize(buffer.written);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The anchor: both files read whole with pread(), in the blocks check reads them in.
void BM_PreadBoth(benchmark::State& state) {
    const std::string& kro = Scenarios().Kro(state.range(0));
    const std::string lis = kro.substr(0, kro.size() - 4) + ".lis";
    std::vector<char> buffer(512 * scenario::KrokRecSize);
    for (auto _ : state) {
        std::int64_t total = 0;
        for (const std::string& path : {kro, lis}) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            for (off_t at = 0;;) {
                const ssize_t n = ::pread(fd, buffer.data(), buffer.size(), at);
                if (n <= 0) {
                    break;
                }
                at += n;
                total += n;
            }
            ::close(fd);
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The branching story as the map hands it to the layout: the labels map writes give the nodes' sizes.
kit::LayoutGraph BranchingGraph(std::int64_t steps) {
    kit::MapPlacer placer;
    for (std::int64_t i = 1; i <= steps; ++i) {
        placer.Step(i, std::to_string(i) + ": Krok " + std::to_string(i) + (i == 1 ? " (start)" : "") +
                           "\\nDroga biegnie dalej przez las, a\u2026");
        if (i < steps) {
            const auto targets = Generated::BranchTargets(i, steps);
            // Play starts at record 1 with button 1 alone.
            for (int k = 1; k <= (i == 1 ? 1 : 4); ++k) {
                placer.Choice(i, k, targets[static_cast<std::size_t>(k - 1)], std::to_string(k) + ": Idź");
            }
        }
    }
    return placer.Graph();
}

void BM_Layout(benchmark::State& state) {
    const kit::LayoutGraph graph = BranchingGraph(state.range(0));
    for (auto _ : state) {
        const kit::MapLayout layout = kit::LayOut(graph);
        benchmark::DoNotOptimize(layout.width);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// After one step more, leading from and to steps in the middle of the story.
void BM_LayoutAfterAddingAStep(benchmark::State& state) {
    kit::LayoutGraph graph = BranchingGraph(state.range(0));
    const kit::MapLayout before = kit::LayOut(graph);
    const std::int32_t middle = static_cast<std::int32_t>(graph.nodes.size() / 2);
    graph.nodes.push_back({state.range(0) + 1, 200, 36});
    const auto added = static_cast<std::int32_t>(graph.nodes.size() - 1);
    graph.edges.push_back({middle, added, 4});
    graph.edges.push_back({added, middle + 5, 1});
    for (auto _ : state) {
        const kit::MapLayout layout = kit::LayOutAfter(graph, before);
        benchmark::DoNotOptimize(layout.width);
    }
}

// `przygoda-kit map STORY -o map.svg --force` in a child process, wall-clock time.
void BM_MapSvg(benchmark::State& state) {
    const std::string& kro = Scenarios().BranchingKro(state.range(0));
    const std::string svg = Scenarios().Folder() + "/map.svg";
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        std::vector<char*> argv{const_cast<char*>(PRZYGODA_KIT_BINARY),
                                const_cast<char*>("map"),
                                const_cast<char*>(kro.c_str()),
                                const_cast<char*>("-o"),
                                const_cast<char*>(svg.c_str()),
                                const_cast<char*>("--force"),
                                nullptr};
        pid_t pid = 0;
        const int spawned = ::posix_spawn(&pid, PRZYGODA_KIT_BINARY, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            state.SkipWithError("cannot start przygoda-kit");
            break;
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("przygoda-kit map -o .svg failed (is Graphviz installed?)");
            break;
        }
    }
    state.counters["svg_bytes"] = static_cast<double>(fs::file_size(svg));
}

// Peak resident memory of `przygoda-kit check --no-media` on 10^6 steps, against its budget: the size of
// both files plus 64 bytes a step.
void BM_CheckPeakMemory(benchmark::State& state) {
    const std::int64_t steps = state.range(0);
    const std::string& kro = Scenarios().Kro(steps);
    const std::string lis = kro.substr(0, kro.size() - 4) + ".lis";
    const double budget =
        static_cast<double>(fs::file_size(kro) + fs::file_size(lis)) + 64.0 * static_cast<double>(steps);
    double peak = 0;
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        std::vector<char*> argv{const_cast<char*>(PRZYGODA_KIT_BINARY), const_cast<char*>("check"),
                                const_cast<char*>("--no-media"), const_cast<char*>(kro.c_str()), nullptr};
        pid_t pid = 0;
        if (::posix_spawn(&pid, PRZYGODA_KIT_BINARY, &actions, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("cannot start przygoda-kit");
            break;
        }
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        struct rusage usage {};
        ::wait4(pid, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("przygoda-kit check failed");
        }
        peak = std::max(peak, static_cast<double>(usage.ru_maxrss) * 1024.0);
    }
    state.counters["peak_bytes"] = peak;
    state.counters["budget_bytes"] = budget;
    state.counters["peak_per_budget"] = peak / budget;
}

BENCHMARK(BM_Check)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapDot)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreadBoth)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Layout)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutAfterAddingAStep)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapSvg)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CheckPeakMemory)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
