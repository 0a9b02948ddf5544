// SPDX-License-Identifier: GPL-3.0-or-later
// The batch analysis over the recorded Wiesbaden tables and over simulated
// runs, as chancenraster-analyse does it.
#include "analysis/runs.h"
#include "analysis/series.h"
#include "analysis/sources.h"
#include "analysis/system.h"
#include "io/fields.h"
#include "io/spin_file.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace cr::bench {
namespace {

// The five tables' bytes, read once.
const std::vector<std::string>& wiesbadenTables() {
    static const std::vector<std::string> tables = [] {
        std::vector<std::string> bytes;
        const std::filesystem::path dir(CR_WIESBADEN_DIR);
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
            if (entry.path().extension() == ".csv") {
                std::ifstream in(entry.path(), std::ios::binary);
                std::ostringstream text;
                text << in.rdbuf();
                bytes.push_back(text.str());
            }
        }
        return bytes;
    }();
    return tables;
}

// The tables parsed from memory and evaluated as runs of 370 spins at step
// rate 37, each table on its own (--steprate 37 --runs-of 370).
void BM_AnalyseTables(benchmark::State& state) {
    const std::vector<std::string>& tables = wiesbadenTables();
    if (tables.empty()) {
        state.SkipWithError("no Wiesbaden table found in " CR_WIESBADEN_DIR);
        return;
    }
    long long spins = 0;
    for (auto _ : state) {
        spins = 0;
        for (const std::string& bytes : tables) {
            io::MemorySource source(bytes);
            io::SpinFileOutcome read =
                io::readSpinFile(source, io::kAllSpins, 1, io::SpinStore::Numbers);
            const bool refused = read.permanence.kind != PermanenceOutcome::Kind::Read;
            const analysis::Source loaded = analysis::spinsOf(std::move(read));
            if (refused || loaded.problem) {
                state.SkipWithError("a Wiesbaden table was refused");
                return;
            }
            const analysis::RunStatistics stats = analysis::runsOf(loaded.numbers, 37, 370);
            benchmark::DoNotOptimize(stats.steps().data());
            spins += static_cast<long long>(loaded.numbers.size());
        }
    }
    state.counters["spins"] = static_cast<double>(spins);
    state.SetItemsProcessed(state.iterations() * spins);
}
BENCHMARK(BM_AnalyseTables)->Unit(benchmark::kMillisecond);

// The five tables' numbers, read once.
const std::vector<std::vector<std::uint8_t>>& wiesbadenNumbers() {
    static const std::vector<std::vector<std::uint8_t>> numbers = [] {
        std::vector<std::vector<std::uint8_t>> all;
        for (const std::string& bytes : wiesbadenTables()) {
            io::MemorySource source(bytes);
            analysis::Source loaded = analysis::spinsOf(
                io::readSpinFile(source, io::kAllSpins, 1, io::SpinStore::Numbers));
            all.push_back(std::move(loaded.numbers));
        }
        return all;
    }();
    return numbers;
}

// The system test over the tables' numbers in memory: sessions of 370 spins,
// leer with a martingale at step rate 37 (--system leer --progression
// martingale --steprate 37 --runs-of 370).
void BM_SystemTables(benchmark::State& state) {
    const auto& tables = wiesbadenNumbers();
    if (tables.empty()) {
        state.SkipWithError("no Wiesbaden table found in " CR_WIESBADEN_DIR);
        return;
    }
    analysis::SystemRules rules;
    rules.marsch = analysis::Marsch::Leer;
    rules.progression = analysis::Progression::Martingale;
    rules.steprate = 37;
    long long spins = 0;
    for (auto _ : state) {
        spins = 0;
        for (const auto& numbers : tables) {
            const analysis::SystemTotals totals = analysis::systemOfRuns(rules, numbers, 370);
            benchmark::DoNotOptimize(totals.result);
            spins += static_cast<long long>(numbers.size());
        }
    }
    state.counters["spins"] = static_cast<double>(spins);
    state.SetItemsProcessed(state.iterations() * spins);
}
BENCHMARK(BM_SystemTables)->Unit(benchmark::kMillisecond);

// The series, runs tests, écarts and numbers of the five tables in memory,
// each table a sequence, with every exact figure the tool writes of them
// (--series over the five files).
void BM_SeriesTables(benchmark::State& state) {
    const auto& tables = wiesbadenNumbers();
    if (tables.empty()) {
        state.SkipWithError("no Wiesbaden table found in " CR_WIESBADEN_DIR);
        return;
    }
    long long spins = 0;
    for (auto _ : state) {
        spins = 0;
        for (const auto& numbers : tables) {
            analysis::SeriesStats stats;
            analysis::addSequence(stats, numbers);
            double figures = stats.numbers.chiSquareP().value_or(0) +
                             stats.numbers.chanceAmong37(stats.numbers.most()) +
                             stats.numbers.chanceAmong37(stats.numbers.least());
            for (const analysis::PairSeries& pair : stats.pairs) {
                for (int side = 0; side < 2; ++side) {
                    const long long longest = pair.longest[static_cast<std::size_t>(side)];
                    figures += pair.chanceOfSeries(side, longest);
                    for (long long k = 1; k <= longest; ++k) {
                        figures += pair.expectedOfLength(side, k);
                    }
                }
                figures += pair.runsZ().value_or(0);
            }
            benchmark::DoNotOptimize(figures);
            spins += static_cast<long long>(numbers.size());
        }
    }
    state.counters["spins"] = static_cast<double>(spins);
    state.SetItemsProcessed(state.iterations() * spins);
}
BENCHMARK(BM_SeriesTables)->Unit(benchmark::kMillisecond);

// The system test over 10^6 simulated sessions of 370 spins on two threads,
// as the tool's --system leer --progression martingale --steprate 37
// --simulate 1000000 --spins 370 does it.
void BM_SystemSimulate(benchmark::State& state) {
    analysis::SystemRules rules;
    rules.marsch = analysis::Marsch::Leer;
    rules.progression = analysis::Progression::Martingale;
    rules.steprate = 37;
    const long long runs = state.range(0);
    for (auto _ : state) {
        const analysis::SystemTotals totals = analysis::simulateSystem(rules, 370, runs, 1, 2);
        benchmark::DoNotOptimize(totals.result);
    }
    state.SetItemsProcessed(state.iterations() * runs * 370);
}
BENCHMARK(BM_SystemSimulate)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

// 10^6 simulated runs of 370 spins at step rate 37 on two threads.
void BM_Simulate(benchmark::State& state) {
    const long long runs = state.range(0);
    for (auto _ : state) {
        const analysis::RunStatistics stats = analysis::simulate(37, 370, runs, 1, 2, nullptr);
        benchmark::DoNotOptimize(stats.steps().data());
    }
    state.SetItemsProcessed(state.iterations() * runs * 370);
}
BENCHMARK(BM_Simulate)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
} // namespace cr::bench
