// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/series.h"
#include "analysis/sources.h"
#include "analysis/statistics.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace cr::analysis {

// What an evaluation of many runs takes: numbers already at hand (the main
// window's permanence), files of any format the import reads, or simulated
// runs; the step rate and the length of a run.
struct JobInput {
    using Numbers = Source;
    std::vector<Numbers> loaded;
    std::vector<std::string> files;
    bool simulate = false;
    long long runs = 0; // simulated
    std::uint64_t seed = 0;
    int steprate = 37;
    long long runLength = 370;
    int threads = processorCount();
};

// Shared with the thread that waits for the job: the work done of the
// total, in units of spinsPerUnit spins (a simulation counts whole runs,
// files count spins), and the request to stop.
struct JobProgress {
    std::atomic<long long> unitsDone{0};
    std::atomic<long long> unitsTotal{0};
    std::atomic<long long> spinsPerUnit{1};
    std::atomic<bool> stop{false};

    long long spinsDone() const { return unitsDone * spinsPerUnit; }
    long long spinsTotal() const { return unitsTotal * spinsPerUnit; }
};

struct FileRefusal {
    std::string file;
    std::array<std::string, 3> lines; // as the import shows a refused permanence
    bool refused = true;              // false: not read at all (lines[0] says why)
};

// The runs of one source on their own, so that tables can be set side by side.
struct SourceResult {
    std::string name; // the file's path, what the loaded numbers are, or "Simulation"
    RunStatistics stats;
    SeriesStats series; // all its numbers as one sequence; each run one for a simulation
};

struct JobResult {
    RunStatistics stats;               // the runs of every source pooled
    SeriesStats series;                // the series and numbers of every source pooled
    std::vector<SourceResult> sources; // each source with numbers, in the input's order
    // Their numbers, kept to look for single runs (oddestRuns); none for a simulation.
    std::vector<Source> read;
    std::vector<FileRefusal> refused;
    long long spinsLeftOver = 0; // the ends of sources shorter than a run
    bool stopped = false;
};

// Runs the job on the calling thread (the simulation on input.threads
// threads of its own); a refused file is reported and the others evaluated.
JobResult runJob(const JobInput& input, JobProgress& progress);

} // namespace cr::analysis
