// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/sources.h"

#include "analysis/runs.h"
#include "io/file_read.h"

#include <algorithm>
#include <thread>

namespace cr::analysis {

int processorCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(std::min(cores, unsigned{kMostThreads}));
}

std::vector<Source> readSources(const std::vector<std::string>& files, int threads,
                                std::optional<long long> limit, std::atomic<long long>* filesDone,
                                const std::atomic<bool>* stop) {
    std::vector<Source> sources(files.size());
    parallelFor(
        files.size(), threads,
        [&](std::size_t i, std::size_t) {
            // The reader keeps no more spins than the limit asks for.
            io::FileRead file = io::readFile(files[i], limit.value_or(io::kAllSpins), 1,
                                             io::SpinStore::Numbers, stop);
            Source& source = sources[i];
            if (file.problem) {
                source.problem = std::move(file.problem);
            } else if (!file.stopped) {
                source = spinsOf(std::move(file.read), limit);
            }
            source.name = files[i];
            source.file = files[i];
            if (filesDone) {
                filesDone->fetch_add(1, std::memory_order_relaxed);
            }
        },
        stop);
    return sources;
}

std::vector<RunStatistics> runsOfEach(const std::vector<Source>& sources, int steprate,
                                      long long runLength, int threads,
                                      std::atomic<long long>* spinsDone,
                                      const std::atomic<bool>* stop, bool histograms) {
    std::vector<RunStatistics> stats(sources.size());
    parallelFor(
        sources.size(), threads,
        [&](std::size_t i, std::size_t) {
            stats[i] = runsOf(sources[i].numbers, steprate, runLength, spinsDone, stop, histograms);
        },
        stop);
    return stats;
}

} // namespace cr::analysis
