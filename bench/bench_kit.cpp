// przygoda-kit on generated scenarios of 10^4, 10^5 and 10^6 steps, written by the scenario writer into a
// temporary folder: check (without media) and map --dot, against reading both files with pread() in the
// same run; and the peak memory of the command-line check of 10^6 steps, in a child process.
#include "kit/Check.h"
#include "kit/Map.h"
#include "scenario/ScenarioWriter.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

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

  private:
    fixtures::TempDir folder_;
    std::map<std::int64_t, std::string> paths_;
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
BENCHMARK(BM_CheckPeakMemory)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
