// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/job.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cr::analysis {

// A run whose counter at one step lies far from the exact mean: where it
// comes from, so that it can be replayed spin by spin.
struct OddRun {
    std::size_t source = 0;  // index into the sources (0 for a simulation)
    long long run = 0;       // the run's index within its source (or the simulation)
    long long firstSpin = 1; // its first spin among the source's numbers, from 1
    int value = 0;           // the counter at the step
    double distance = 0;     // value − exact mean
};

// The `count` runs whose counter lies farthest from the exact mean at
// `step` (from 1), farthest first; among equal distances the earlier run
// comes first. The runs are cut from the sources as the job cuts them
// (runs of input.runLength from each source's first number), or drawn as
// the simulation draws them (input.simulate, input.seed). Only the spins up
// to that step are replayed. The progress counts the runs looked at; once
// its stop is set, no further run is looked at.
std::vector<OddRun> oddestRuns(const std::vector<Source>& sources, const JobInput& input, int step,
                               std::size_t counter, std::size_t count,
                               JobProgress* progress = nullptr);

// How many runs lie at least as far from the exact mean as `value` does,
// with the counter at the step, and how many pure chance gives among as
// many runs (the exact Binomial law): a farthest run means something only
// when far more of them are seen than expected.
struct FarRuns {
    long long seen = 0;
    double expected = 0;
};
FarRuns runsAtLeastAsFar(const RunStatistics& stats, int steprate, int step, std::size_t counter,
                         int value);

} // namespace cr::analysis
