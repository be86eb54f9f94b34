// GoToStep against the two raw reads it is built on, over scenarios of growing size.
#include "scenario/Cp1250.h"
#include "scenario/ScenarioWriter.h"
#include "scenario/StepReader.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <map>
#include <memory>
#include <random>
#include <unistd.h>

namespace {

struct Scenario {
    fixtures::TempDir dir;
    std::filesystem::path kro;
    std::int32_t records;

    explicit Scenario(std::int32_t count) : kro(dir / "bench.Kro"), records(count) {
        scenario::StepRecord step;
        step.Opis = scenario::Utf8ToCp1250("Ciemny las. Drzewa szumią, a ścieżka skręca w lewo.");
        step.Wybor = {"W lewo", "W prawo", "Prosto", scenario::Utf8ToCp1250("Wróć")};
        step.Bmp = "las.bmp";
        step.Wav = "wiatr.wav";
        step.Typ = 1;
        scenario::ScenarioWriter writer(kro.string(), true);
        for (std::int32_t r = 0; r < count; ++r) {
            writer.Add(step);
        }
        writer.Commit();
    }
};

Scenario& ScenarioOf(std::int32_t records) {
    static std::map<std::int32_t, std::unique_ptr<Scenario>> cache;
    auto& s = cache[records];
    if (!s) {
        s = std::make_unique<Scenario>(records);
    }
    return *s;
}

// Visits records in a fixed pseudo-random order, as a player jumping through a story would.
std::vector<std::int32_t> Targets(std::int32_t records) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<std::int32_t> pick(0, records - 1);
    std::vector<std::int32_t> t(4096);
    for (auto& x : t) {
        x = pick(rng);
    }
    return t;
}

void BM_GoToStep(benchmark::State& state) {
    const auto records = static_cast<std::int32_t>(state.range(0));
    Scenario& s = ScenarioOf(records);
    scenario::AktKrok = std::make_unique<scenario::TKrok>();
    scenario::OpenScenario(s.kro.string());
    const auto targets = Targets(records);
    std::size_t i = 0;
    for (auto _ : state) {
        scenario::NrKroku = targets[i++ & 4095];
        scenario::GoToStep();
        benchmark::DoNotOptimize(scenario::AktKrok->Opis.data());
    }
    scenario::CloseScenario();
}

void BM_RawPread(benchmark::State& state) {
    const auto records = static_cast<std::int32_t>(state.range(0));
    Scenario& s = ScenarioOf(records);
    auto lisPath = s.kro;
    lisPath.replace_extension(".lis");
    const int kro = ::open(s.kro.c_str(), O_RDONLY);
    const int lis = ::open(lisPath.c_str(), O_RDONLY);
    const auto targets = Targets(records);
    std::array<char, 516> krokBuf{};
    std::array<char, 22> lisBuf{};
    std::size_t i = 0;
    for (auto _ : state) {
        const off_t n = targets[i++ & 4095];
        benchmark::DoNotOptimize(::pread(kro, krokBuf.data(), krokBuf.size(), n * 516));
        benchmark::DoNotOptimize(::pread(lis, lisBuf.data(), lisBuf.size(), n * 22));
    }
    ::close(kro);
    ::close(lis);
}

} // namespace

BENCHMARK(BM_GoToStep)->Arg(10)->Arg(10000)->Arg(1000000);
BENCHMARK(BM_RawPread)->Arg(10)->Arg(10000)->Arg(1000000);
