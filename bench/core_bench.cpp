// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/random.h"
#include "core/run.h"
#include "support/memory_window.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace cr::bench {
namespace {

constexpr int kLongestRun = 9999;

// A run control on an in-memory window, prepared for a run of the longest
// length at the given step rate.
struct CoreRun {
    SeededRandom random{1};
    support::MemoryWindow window;
    RunControl run{window, random, ","};

    explicit CoreRun(int steprate) {
        window.run = &run;
        run.startup();
        window.setText(Control::textanzahl, std::to_string(kLongestRun));
        window.setText(Control::textwiederhol, std::to_string(steprate));
        run.start();
    }
};

// One "S t e p" press from the first spin of a step.
void BM_CoreSeries(benchmark::State& state) {
    const int steprate = static_cast<int>(state.range(0));
    auto core = std::make_unique<CoreRun>(steprate);
    long long spins = 0;
    for (auto _ : state) {
        if (core->run.state().akut >= kLongestRun) {
            state.PauseTiming();
            core = std::make_unique<CoreRun>(steprate);
            state.ResumeTiming();
        }
        const int before = core->run.state().akut;
        core->run.step();
        spins += std::min(core->run.state().akut, kLongestRun) - before;
    }
    state.SetItemsProcessed(spins);
    state.counters["spins_per_press"] =
        benchmark::Counter(static_cast<double>(spins) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_CoreSeries)->Arg(4)->Arg(16383)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace cr::bench
