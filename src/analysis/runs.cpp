// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/runs.h"

#include "analysis/sources.h"
#include "core/engine.h"
#include "core/lazytwister.h"
#include "core/numparse.h"
#include "core/random.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <new>
#include <thread>

namespace cr::analysis {

namespace {

void runOnce(Engine& engine, const std::uint8_t* numbers, std::size_t count) {
    engine.spins(numbers, count);
}

// The numbers of a simulated run are drawn a block at a time and handed to
// the engine together.
constexpr std::size_t kDrawBlock = 4096;

std::uint64_t mix(std::uint64_t z) { // the SplitMix64 finaliser
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

constexpr long long kRunsPerTask = 64;

// The next `take` numbers of a run: 53 random bits in [0, 1) each, as the
// program draws its numbers.
void drawNumbers(LazyTwister& random, std::uint64_t* words, std::uint8_t* drawn, std::size_t take) {
    random.draw(words, take);
    for (std::size_t i = 0; i < take; ++i) {
        // (Signed, the conversion is one instruction.)
        const auto bits = static_cast<std::int64_t>(words[i] >> 11);
        const double r = static_cast<double>(bits) * 0x1.0p-53;
        drawn[i] = static_cast<std::uint8_t>(numberFromUniform(r));
    }
}

} // namespace

Source spinsOf(io::SpinFileOutcome&& result, std::optional<long long> limit) {
    Source loaded;
    auto count = static_cast<long long>(result.permanence.count);
    if (limit) {
        count = std::min(count, *limit);
    }
    if (result.layout == io::SpinLayout::NumberList && result.permanence.cells.empty()) {
        // Read as numbers already (SpinStore::Numbers).
        loaded.numbers = std::move(result.numbers);
        loaded.numbers.resize(std::min(loaded.numbers.size(), static_cast<std::size_t>(count)));
        return loaded;
    }
    try {
        loaded.numbers.resize(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        loaded.problem = ReadProblem{ReadProblem::Kind::OutOfMemory};
        loaded.problem->spins = count;
        return loaded;
    }
    for (std::size_t k = 0; k < loaded.numbers.size(); ++k) {
        // The reader let only values through that round into 0..36; nearly
        // all are whole already.
        const double cell = result.permanence.cells[k + 1];
        const auto whole = static_cast<int>(cell);
        loaded.numbers[k] = static_cast<std::uint8_t>(
            cell == whole ? whole : static_cast<int>(roundHalfEven(cell)));
    }
    return loaded;
}

std::vector<StepResult> replay(const std::vector<std::uint8_t>& numbers, int steprate) {
    Engine engine(steprate);
    runOnce(engine, numbers.data(), numbers.size());
    return {engine.steps().begin(), engine.steps().end()};
}

RunStatistics runsOf(const std::vector<std::uint8_t>& numbers, int steprate, long long runLength,
                     std::atomic<long long>* spinsDone, const std::atomic<bool>* stop,
                     bool histograms) {
    RunStatistics stats;
    stats.keepHistograms(histograms);
    stats.expectSteps(static_cast<std::size_t>(runLength / std::max(steprate, 1)));
    Engine engine(steprate);
    engine.sendStepsTo([&stats](const StepResult& step) { stats.addStep(step); });
    const auto length = static_cast<std::size_t>(runLength);
    for (std::size_t start = 0; length > 0 && numbers.size() - start >= length; start += length) {
        if (stop && stop->load(std::memory_order_relaxed)) {
            break;
        }
        engine.reset();
        runOnce(engine, numbers.data() + start, length);
        stats.endRun();
        if (spinsDone) {
            spinsDone->fetch_add(static_cast<long long>(length), std::memory_order_relaxed);
        }
    }
    return stats;
}

std::uint64_t runSeed(std::uint64_t seed, long long run) {
    return mix(mix(seed) + static_cast<std::uint64_t>(run));
}

std::vector<std::uint8_t> simulatedRun(std::uint64_t seed, long long run, long long spins) {
    LazyTwister random;
    random.seed(runSeed(seed, run));
    const auto count = static_cast<std::size_t>(std::max(spins, 0LL));
    std::vector<std::uint64_t> words(count);
    std::vector<std::uint8_t> drawn(count);
    drawNumbers(random, words.data(), drawn.data(), count);
    return drawn;
}

RunStatistics simulate(int steprate, long long runLength, long long runs, std::uint64_t seed,
                       int threads, std::atomic<long long>* done, const std::atomic<bool>* stop,
                       bool histograms) {
    const auto tasks = static_cast<std::size_t>((runs + kRunsPerTask - 1) / kRunsPerTask);
    // One sum per worker: whole numbers, so whichever worker took a run, the
    // totals come out the same.
    std::vector<RunStatistics> perWorker(static_cast<std::size_t>(std::max(threads, 1)));
    for (RunStatistics& sums : perWorker) {
        sums.keepHistograms(histograms);
        sums.expectSteps(static_cast<std::size_t>(runLength / std::max(steprate, 1)));
    }
    parallelFor(
        tasks, threads,
        [&](std::size_t task, std::size_t worker) {
            Engine engine(steprate);
            // The steps go straight into the sums: no run keeps a list of them.
            RunStatistics& sums = perWorker[worker];
            engine.sendStepsTo([&sums](const StepResult& step) { sums.addStep(step); });
            LazyTwister random;
            const auto block = static_cast<std::size_t>(std::min<long long>(runLength, kDrawBlock));
            std::vector<std::uint64_t> words(block);
            std::vector<std::uint8_t> drawn(block);
            const long long first = static_cast<long long>(task) * kRunsPerTask;
            const long long last = std::min(runs, first + kRunsPerTask);
            const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
            long long finished = 0;
            for (long long run = first; run < last && !stopped(); ++run) {
                random.seed(runSeed(seed, run));
                engine.reset();
                for (long long left = runLength; left > 0 && !stopped();) {
                    const std::size_t take =
                        static_cast<std::size_t>(std::min<long long>(left, kDrawBlock));
                    drawNumbers(random, words.data(), drawn.data(), take);
                    engine.spins(drawn.data(), take);
                    left -= static_cast<long long>(take);
                }
                if (stopped()) { // a run cut short leaves steps but counts as no run
                    break;
                }
                sums.endRun();
                ++finished;
            }
            if (done) {
                done->fetch_add(finished, std::memory_order_relaxed);
            }
        },
        stop);
    // Into the first worker's sums: a copy would double the memory.
    RunStatistics total = std::move(perWorker.front());
    for (std::size_t i = 1; i < perWorker.size(); ++i) {
        total.merge(perWorker[i]);
        perWorker[i] = RunStatistics();
    }
    return total;
}

void parallelFor(std::size_t count, int threads,
                 const std::function<void(std::size_t, std::size_t)>& work,
                 const std::atomic<bool>* stop) {
    std::atomic<std::size_t> next{0};
    std::mutex failedMutex;
    std::exception_ptr failed;
    const auto worker = [&](std::size_t id) {
        try {
            for (std::size_t i = next++; i < count; i = next++) {
                if (stop && stop->load(std::memory_order_relaxed)) {
                    break;
                }
                work(i, id);
            }
        } catch (...) { // out of memory, say: stop every worker, tell the caller
            next = count;
            const std::lock_guard lock(failedMutex);
            if (!failed) {
                failed = std::current_exception();
            }
        }
    };
    const std::size_t workers = std::min(static_cast<std::size_t>(std::max(threads, 1)), count);
    std::vector<std::thread> pool;
    for (std::size_t id = 1; id < workers; ++id) {
        pool.emplace_back(worker, id);
    }
    worker(0);
    for (std::thread& t : pool) {
        t.join();
    }
    if (failed) {
        std::rethrow_exception(failed);
    }
}

} // namespace cr::analysis
