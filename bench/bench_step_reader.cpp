// GoToStep against the two raw reads it is built on, over scenarios of growing size.
#include "scenario/StepReader.h"
#include "tests/support/ScenarioWriter.h"
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
        fixtures::Step step;
        step.opis = "Ciemny las. Drzewa szumią, a ścieżka skręca w lewo.";
        step.wybory = {"W lewo", "W prawo", "Prosto", "Wróć"};
        step.bmp = "las.bmp";
        step.wav = "wiatr.wav";
        const fixtures::KrokBytes krok = fixtures::EncodeKrok(step);
        const fixtures::LisBytes lis = fixtures::EncodeLis(1);
        fixtures::WriteKroRecords(kro,
                                  std::vector<fixtures::KrokBytes>(static_cast<std::size_t>(count), krok));
        auto lisPath = kro;
        lisPath.replace_extension(".lis");
        fixtures::WriteLisRecords(lisPath,
                                  std::vector<fixtures::LisBytes>(static_cast<std::size_t>(count), lis));
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
