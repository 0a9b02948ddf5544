// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/system.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The exact law beside a system's result. Every stake is decided before its
// spin and the spin is uniform on the 37 numbers, so the result less its
// expectation is a sum of differences with mean 0, each with a variance that
// follows from the stakes on that spin and the 37 numbers alone.
namespace cr::analysis {

// How one unit staked on a side pays, as a function of the number: a new
// stake under each zero rule, and a prison stake locked by a zero that the
// spin settles. A new prison stake is worth, on a zero, what its locked
// stake is worth: 18/37 back of the unit lost, so -19/37; what the settling
// spin then adds (1 or 0 back, less 18/37) has mean 0.
enum class StakeKind { Partage = 0, Prison = 1, Verloren = 2, Locked = 3 };
inline constexpr int kStakeKinds = 4;
inline constexpr int kPayoffs = kStakeKinds * 2 * kPairCount;

// The index of a payoff among the kPayoffs (pair 0..2, side 1 or 2).
constexpr int payoffIndex(StakeKind kind, int pair, int side) {
    return (static_cast<int>(kind) * kPairCount + pair) * 2 + side - 1;
}

// What the payoff gives on the number (0..36).
double unitPayoff(StakeKind kind, int pair, int side, int number);

// Mean and covariances of the payoffs over the 37 numbers, each drawn with
// probability 1/37.
struct UnitLaw {
    std::array<double, kPayoffs> mean{};
    std::array<std::array<double, kPayoffs>, kPayoffs> cov{};
};
const UnitLaw& unitLaw();

// Whether the session's stakes are fixed before it starts (a fixed chance,
// flat stakes, no prison, a capital that covers every spin): then the exact
// law of the result is a short convolution.
bool stakesFixedInAdvance(const SystemRules& rules, long long spins);

// The chance that a session of `spins` spins on random numbers ends with a
// result of at least `result`: exact where the stakes are fixed in advance,
// otherwise the share of `trials` sessions under the same rules, drawn from
// the seed as a simulation draws its runs. Never the normal curve: a
// progression's results are far from normal.
struct Luck {
    double probability = 0;
    bool exact = false;
    long long trials = 0; // simulated sessions, 0 when exact
};
Luck luckOf(const SystemRules& rules, long long spins, double result, long long trials,
            std::uint64_t seed, int threads = 1);

// The exact chance of at least `result` for `spins` unit stakes on one side
// under a zero rule other than prison.
double exactLuck(ZeroRule zero, long long unit, long long spins, double result);

} // namespace cr::analysis
