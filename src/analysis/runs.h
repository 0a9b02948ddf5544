// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/statistics.h"
#include "core/evaluation.h"
#include "io/spin_file.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The evaluation of many runs, shared by the analysis tool and the window:
// numbers from files, runs cut from them, simulated runs.
namespace cr::analysis {

struct Source;

// The numbers of a file read (kind Read), from wherever it was read, with
// either store; the first limit of them when a limit is given. Running out
// of memory for them is the source's problem.
Source spinsOf(io::SpinFileOutcome&& result, std::optional<long long> limit = std::nullopt);

// One run over all the numbers at the step rate: every completed step.
std::vector<StepResult> replay(const std::vector<std::uint8_t>& numbers, int steprate);

// runsOf and simulate keep histograms of the counters when asked
// (RunStatistics::keepHistograms).

// Consecutive runs of runLength numbers, each starting afresh; a remainder
// shorter than a run is left out. spinsDone counts the spins of every run
// done; once stop is set, no further run starts.
RunStatistics runsOf(const std::vector<std::uint8_t>& numbers, int steprate, long long runLength,
                     std::atomic<long long>* spinsDone = nullptr,
                     const std::atomic<bool>* stop = nullptr, bool histograms = false);

// The start value of run `run` of a simulation: depends on the seed and the
// run's index only, so any division of the runs among threads draws the same.
std::uint64_t runSeed(std::uint64_t seed, long long run);

// The first `spins` numbers of run `run` of a simulation with this seed, as
// simulate draws them: the run a user asks to watch.
std::vector<std::uint8_t> simulatedRun(std::uint64_t seed, long long run, long long spins);

// `runs` runs of runLength random numbers drawn as a run draws them, shared
// among `threads` threads; `done` counts the finished runs as they finish.
// Once `stop` is set, every thread ends within a block of draws; the
// statistics of a stopped simulation are incomplete and only for throwing
// away (runs() counts the runs finished, but a run cut short has left its
// first steps in the sums).
RunStatistics simulate(int steprate, long long runLength, long long runs, std::uint64_t seed,
                       int threads, std::atomic<long long>* done = nullptr,
                       const std::atomic<bool>* stop = nullptr, bool histograms = false);

// Calls work(i, worker) for i in 0..count-1 on up to `threads` threads, each
// taking the next index as it gets free; worker (0..threads-1) names the thread.
// Once `stop` is set, no thread takes another index.
void parallelFor(std::size_t count, int threads,
                 const std::function<void(std::size_t, std::size_t)>& work,
                 const std::atomic<bool>* stop = nullptr);

} // namespace cr::analysis
