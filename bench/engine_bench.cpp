// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/engine.h"
#include "core/random.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <random>
#include <vector>

namespace cr::bench {
namespace {

// Numbers drawn the way a run draws them, the same on every run of the benchmark.
std::vector<std::uint8_t> drawnNumbers(std::size_t count) {
    std::mt19937_64 engine(1);
    std::vector<std::uint8_t> numbers(count);
    for (std::uint8_t& n : numbers) {
        n = static_cast<std::uint8_t>(
            numberFromUniform(static_cast<double>(engine() >> 11) * 0x1.0p-53));
    }
    return numbers;
}

constexpr std::size_t kDrawn = std::size_t{1} << 20;

// The evaluation alone, without any window: runs of the given length at the
// given step rate, each starting afresh as after Reset (the analysis tool's
// --runs-of and --simulate do the same, handing the engine a run's numbers
// at once). One iteration is one run.
void BM_EngineSpins(benchmark::State& state) {
    const int steprate = static_cast<int>(state.range(0));
    const auto runLength = static_cast<std::size_t>(state.range(1));
    const std::vector<std::uint8_t> numbers = drawnNumbers(kDrawn);
    Engine engine(steprate);
    std::size_t next = 0;
    for (auto _ : state) {
        engine.reset();
        for (std::size_t left = runLength; left > 0;) {
            const std::size_t take = std::min(left, numbers.size() - next);
            engine.spins(numbers.data() + next, take);
            left -= take;
            next = (next + take) & (numbers.size() - 1);
        }
        benchmark::DoNotOptimize(engine.steps().data());
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations()) *
                            static_cast<long long>(runLength));
}
BENCHMARK(BM_EngineSpins)->Args({37, 370})->Args({4, 9999})->Args({16383, 163830});

// The same one number a call, as a caller spinning as it draws would.
void BM_EngineSpinCalls(benchmark::State& state) {
    const int steprate = static_cast<int>(state.range(0));
    const auto runLength = static_cast<std::size_t>(state.range(1));
    const std::vector<std::uint8_t> numbers = drawnNumbers(kDrawn);
    Engine engine(steprate);
    std::size_t next = 0;
    for (auto _ : state) {
        engine.reset();
        for (std::size_t i = 0; i < runLength; ++i) {
            engine.spin(numbers[next]);
            next = (next + 1) & (numbers.size() - 1);
        }
        benchmark::DoNotOptimize(engine.steps().data());
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations()) *
                            static_cast<long long>(runLength));
}
BENCHMARK(BM_EngineSpinCalls)->Args({37, 370})->Args({4, 9999});

} // namespace
} // namespace cr::bench
