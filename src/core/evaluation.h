// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/wheel.h"

#include <array>
#include <vector>

namespace cr {

struct RunState;

// What one spin did at its position: a zero, or one side hit in each pair.
struct SpinHits {
    bool zero = false;
    std::array<int, kPairCount> side{}; // 1 or 2 per pair; 0 for a zero
};

// The rules of the evaluation, shared by the window's run and the analysis:
// applies the spin zahl at position p (1..steprate) of step schritt to the
// field tables and the empty and hit-once counters.
SpinHits evaluateSpin(RunState& s, int zahl, int p);

// The statistic after a step end: half of it, rounded half to even (it is
// never negative).
constexpr int halvedStatistic(int statwert) {
    const int half = statwert / 2;
    return half + (statwert % 2 != 0 && half % 2 != 0);
}

// The results of one completed step, as numbers.
struct StepResult {
    int step = 0;
    double statistisch = 0; // half of statwert, as the statistics label shows it
    std::array<int, kPairCount> leer{};
    std::array<int, kPairCount> einmal{};
};

StepResult stepResultOf(const RunState& s);

} // namespace cr
