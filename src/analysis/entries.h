// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/job.h"
#include "core/readproblem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What an evaluation of many runs may be asked for, and what it will cost:
// one set of rules and words for the "Auswertung" form and the batch tool, so
// that neither takes an entry the other refuses.
namespace cr::analysis {

// A seed as the user writes it: decimal digits only (blanks around them
// allowed), 0 to 2^64 − 1. Anything else is no seed, never a silent 0.
std::optional<std::uint64_t> parseSeed(std::string_view text);

// Why a seed text is refused, in a sentence.
std::string seedRefusal(std::string_view text, Language language);

// Why the entries cannot be computed as they stand (a run shorter than one
// step, no source chosen, runs or run length out of range), in a sentence;
// empty when they can.
std::string entriesRefusal(const JobInput& input, Language language);

// What a job will take: the spins it evaluates, a rough time on the
// threads given, and the memory it keeps beside the numbers read.
struct Cost {
    long long spins = 0;
    double seconds = 0;
    long long bytes = 0;
};

// fileSpins: the spins of the files and loaded numbers, as far as known
// before reading them (the file sizes give an upper bound).
Cost estimateCost(const JobInput& input, long long fileSpins);

// What playing a system over `sessions` sessions of `spins` spins each will
// take; `keepResults` when each session's result is kept (the window's
// histogram). Files are read whole beside it.
Cost estimateSystemCost(long long sessions, long long spins, int threads, bool keepResults,
                        long long fileSpins = 0);

// The cost as a line for the form, e.g. "3,7 Mrd. Würfe, etwa 2 min auf 2
// Kernen, 40 MB Speicher" (German number format; English for the tool).
std::string costLine(const Cost& cost, int threads, Language language);

// Whether the user should confirm before starting: more than a minute.
bool worthAsking(const Cost& cost);

} // namespace cr::analysis
