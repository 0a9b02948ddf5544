// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/systemlaw.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace cr::analysis {

namespace {

// A locked stake comes back (1) with probability 18/37: what the settling
// spin adds is measured from that.
constexpr double kLockedBack = 18.0 / 37.0;

// Above this many spins the exact law of fixed stakes is no longer cheap.
constexpr long long kMostExactSpins = 100'000;

} // namespace

double unitPayoff(StakeKind kind, int pair, int side, int number) {
    static const ColourTable farbe = makeColourTable();
    const bool won = number != 0 && sideOf(static_cast<Pair>(pair), number, farbe) == side;
    switch (kind) {
    case StakeKind::Partage:
        return won ? 1 : number == 0 ? -0.5 : -1;
    case StakeKind::Prison:
        return won ? 1 : number == 0 ? kLockedBack - 1 : -1;
    case StakeKind::Verloren:
        return won ? 1 : -1;
    case StakeKind::Locked:
        return (won ? 1 : 0) - kLockedBack;
    }
    return 0;
}

const UnitLaw& unitLaw() {
    static const UnitLaw law = [] {
        UnitLaw made;
        std::array<std::array<double, 37>, kPayoffs> values{};
        for (int kind = 0; kind < kStakeKinds; ++kind) {
            for (int pair = 0; pair < kPairCount; ++pair) {
                for (const int side : {1, 2}) {
                    const auto i =
                        static_cast<std::size_t>(payoffIndex(StakeKind(kind), pair, side));
                    for (int n = 0; n <= 36; ++n) {
                        values[i][static_cast<std::size_t>(n)] =
                            unitPayoff(StakeKind(kind), pair, side, n);
                    }
                }
            }
        }
        for (std::size_t i = 0; i < kPayoffs; ++i) {
            double sum = 0;
            for (const double v : values[i]) {
                sum += v;
            }
            made.mean[i] = sum / 37;
        }
        for (std::size_t i = 0; i < kPayoffs; ++i) {
            for (std::size_t j = 0; j < kPayoffs; ++j) {
                double sum = 0;
                for (std::size_t n = 0; n < 37; ++n) {
                    sum += (values[i][n] - made.mean[i]) * (values[j][n] - made.mean[j]);
                }
                made.cov[i][j] = sum / 37;
            }
        }
        return made;
    }();
    return law;
}

bool stakesFixedInAdvance(const SystemRules& rules, long long spins) {
    const bool neverRuined =
        rules.capital == 0 || rules.capital / std::max(rules.unit, 1LL) >= spins;
    return rules.marsch < Marsch::Leer && rules.progression == Progression::Flat &&
           rules.zero != ZeroRule::Prison && neverRuined;
}

double exactLuck(ZeroRule zero, long long unit, long long spins, double result) {
    // In half units a spin pays +2 or -2 (18/37 each) and on a zero -1
    // (partage) or -2 (verloren). With z zeros among n spins, w wins of the
    // other m = n - z are binomial (m, 1/2) and the sum is 2 (2 w - m) - c z.
    const int c = zero == ZeroRule::Partage ? 1 : 2;
    const auto n = static_cast<std::size_t>(std::max(spins, 0LL));
    const double wanted = std::ceil(2 * result / static_cast<double>(unit) - 1e-9);
    std::vector<double> logFactorial(n + 1, 0.0);
    for (std::size_t i = 1; i <= n; ++i) {
        logFactorial[i] = logFactorial[i - 1] + std::log(static_cast<double>(i));
    }
    const auto logChoose = [&](std::size_t a, std::size_t b) {
        return logFactorial[a] - logFactorial[b] - logFactorial[a - b];
    };
    const double logZero = std::log(1.0 / 37);
    const double logOther = std::log(36.0 / 37);
    const double logHalf = std::log(0.5);
    double probability = 0;
    for (std::size_t z = 0; z <= n; ++z) {
        const double logZeros = logChoose(n, z) + static_cast<double>(z) * logZero +
                                static_cast<double>(n - z) * logOther;
        if (logZeros < -60) { // far out in the tail: nothing to add
            continue;
        }
        const std::size_t m = n - z;
        const double least =
            std::ceil((wanted + c * static_cast<double>(z) + 2 * static_cast<double>(m)) / 4);
        const auto first = static_cast<std::size_t>(std::max(least, 0.0));
        double tail = 0;
        for (std::size_t w = first; w <= m; ++w) {
            tail += std::exp(logChoose(m, w) + static_cast<double>(m) * logHalf);
        }
        probability += std::exp(logZeros) * tail;
    }
    return std::min(probability, 1.0);
}

Luck luckOf(const SystemRules& rules, long long spins, double result, long long trials,
            std::uint64_t seed, int threads) {
    if (stakesFixedInAdvance(rules, spins) && spins <= kMostExactSpins) {
        return {exactLuck(rules.zero, rules.unit, spins, result), true, 0};
    }
    const SystemTotals totals =
        simulateSystem(rules, spins, trials, seed, threads, nullptr, nullptr, result);
    const double share = totals.sessions > 0 ? static_cast<double>(totals.reached) /
                                                   static_cast<double>(totals.sessions)
                                             : 0;
    return {share, false, totals.sessions};
}

} // namespace cr::analysis
