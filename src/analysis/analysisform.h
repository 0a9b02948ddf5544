// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/run.h"

#include <cstdint>

namespace cr::analysis {

// The entries of the "Auswertung" form: what they start with and how far
// they go, apart from the widgets that show them.

inline constexpr int kDefaultSteprate = 37;
inline constexpr int kMaxFormSteprate = kMaxSteprate;
inline constexpr int kDefaultRuns = 100000;
// The run length follows the step rate, this many steps, until it is set.
inline constexpr int kDefaultStepsPerRun = 10;

// Every step of a run keeps its sums and six histograms of up to steprate + 1
// values (about 300 + 48 × steprate bytes); at 100,000 spins a run at step
// rate 1 needs under 40 MB per thread, and a table of 100,000 rows still scrolls.
inline constexpr int kMaxRunLength = 100000;
// Runs cost time, not memory: 10^7 runs of the longest length are 10^12 spins,
// hours of work that "Abbrechen" ends, and far from the counters' limits.
inline constexpr int kMaxRuns = 10000000;

// The run length for a step rate until the user sets one.
int defaultRunLength(int steprate);

// The step rate "Auswertung" opens with: the one the step-rate box holds,
// else the one of the last run, else the default (0: none).
int offeredSteprate(int boxSteprate, int runSteprate);

// A seed for the simulation that differs from one opening to the next.
std::uint64_t freshSeed();

} // namespace cr::analysis
