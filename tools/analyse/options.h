// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/system.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cr::batch {

enum class Mode {
    Replay,   // one run over each file
    RunsOf,   // each file cut into runs of equal length
    Simulate, // random runs
};

struct Options {
    Mode mode = Mode::Replay;
    int steprate = 0;
    std::optional<long long>
        spins;               // --spins: the first K spins (replay, runs-of) or the run length
    long long runLength = 0; // --runs-of, or --spins with --simulate
    long long runs = 0;      // --simulate
    std::optional<std::uint64_t> seed;
    int threads = 0; // 0: one per processor
    bool json = false;
    bool pool = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> files;
    // --system: what betting by the rules would have done, instead of the counters.
    std::optional<analysis::SystemRules> system;
    std::string logFile; // --log: every bet of the first session
    // --series: the series, runs tests, écarts and numbers, instead of the counters.
    bool series = false;
};

// The options, or the one line that says what is wrong with them.
struct ParsedArguments {
    std::optional<Options> options;
    std::string error;
};

// Reads the arguments after the program's name.
ParsedArguments parseArguments(const std::vector<std::string>& args);

std::string helpText();

inline constexpr long long kMostRuns = 1'000'000'000;
inline constexpr long long kMostSpins = 1'000'000'000'000;

} // namespace cr::batch
