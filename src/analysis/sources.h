// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/statistics.h"
#include "core/readproblem.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// From files to pooled runs: the one way the batch tool and "Auswertung"
// (and every later evaluation over files) take.
namespace cr::analysis {

// The spins of one source as numbers 0..36, or why it has none.
struct Source {
    std::string name; // the file's path, or what the numbers are
    std::vector<std::uint8_t> numbers;
    std::optional<ReadProblem> problem = std::nullopt;
    // Where a single run of them can be replayed from: the file whose spin
    // firstSpin is numbers[0] (none for numbers without a file).
    std::string file = {};
    long long firstSpin = 1;
};

// As many workers as the machine has processors (at most kMostThreads).
inline constexpr int kMostThreads = 256;
int processorCount();

// Reads every file, either layout, on up to `threads` threads; the sources
// come in the order of the files. Keeps at most `limit` spins of each.
// filesDone counts the files read. Once stop is set, no further file is
// read and the one being read ends within a block; the sources are then
// incomplete and only for throwing away.
std::vector<Source> readSources(const std::vector<std::string>& files, int threads,
                                std::optional<long long> limit = std::nullopt,
                                std::atomic<long long>* filesDone = nullptr,
                                const std::atomic<bool>* stop = nullptr);

// Every source with numbers cut into runs of runLength spins (see runsOf),
// on up to `threads` threads: the statistics of each source in their order
// (a source without numbers has none). spinsDone counts the spins of every
// run done.
std::vector<RunStatistics> runsOfEach(const std::vector<Source>& sources, int steprate,
                                      long long runLength, int threads,
                                      std::atomic<long long>* spinsDone = nullptr,
                                      const std::atomic<bool>* stop = nullptr,
                                      bool histograms = false);

} // namespace cr::analysis
