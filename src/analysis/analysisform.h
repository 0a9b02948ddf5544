// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/limits.h"

#include <cstdint>

namespace cr::analysis {

// The entries of the "Auswertung" form: what they start with and how far
// they go, apart from the widgets that show them.

inline constexpr int kDefaultSteprate = 37;
inline constexpr int kDefaultRuns = 100000;
// The run length follows the step rate, this many steps, until it is set.
inline constexpr int kDefaultStepsPerRun = 10;

// A step keeps ≤ 320 + 48 × steprate bytes (sums, 6 histograms): ≤ 37 MB a thread at step rate 1.
inline constexpr int kMaxRunLength = 100000;
// Runs cost time, not memory: at most 10^12 spins, which "Abbrechen" ends and a long long counts.
inline constexpr int kMaxRuns = 10000000;

// The run length for a step rate until the user sets one.
int defaultRunLength(int steprate);

// The step rate "Auswertung" opens with: the one the step-rate box holds,
// else the one of the last run, else the default (0: none).
int offeredSteprate(int boxSteprate, int runSteprate);

// A seed for the simulation that differs from one opening to the next.
std::uint64_t freshSeed();

} // namespace cr::analysis
