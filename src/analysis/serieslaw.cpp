// SPDX-License-Identifier: GPL-3.0-or-later
// The exact law beside the counts: expected series by length, the chance of
// a series at least so long, the runs test, and the 37 numbers' tails.
#include "analysis/goodness.h"
#include "analysis/series.h"

#include <algorithm>
#include <cmath>

namespace cr::analysis {

namespace {

// Either side of an even chance, given that the spin was no zero.
constexpr double kSideChance = 0.5;

// Of exactly k of one side in n decisions (side chance p, other q): the whole
// sequence, or a series at either edge bounded by one other decision, or one
// inside bounded on both sides.
double expectedSeries(long long n, long long k, double p) {
    if (k < 1 || k > n) {
        return 0;
    }
    const double q = 1 - p;
    const double pk = std::pow(p, static_cast<double>(k));
    if (k == n) {
        return pk;
    }
    return pk * q * (2 + static_cast<double>(n - k - 1) * q);
}

// Upper tail P(X ≥ c) or lower tail P(X ≤ c) of Binomial(n, p), summed from
// c outwards until the terms no longer count.
double binomialTail(long long n, double p, long long c, bool upper) {
    if (upper && c <= 0) {
        return 1;
    }
    if (!upper && c >= n) {
        return 1;
    }
    if (c < 0 || c > n) {
        return 0;
    }
    const double q = 1 - p;
    const auto nd = static_cast<double>(n);
    const auto cd = static_cast<double>(c);
    double term = std::exp(std::lgamma(nd + 1) - std::lgamma(cd + 1) - std::lgamma(nd - cd + 1) +
                           cd * std::log(p) + (nd - cd) * std::log(q));
    double sum = 0;
    if (upper) {
        for (long long k = c; k <= n && term > 0; ++k) {
            sum += term;
            if (term < sum * 1e-17) {
                break;
            }
            term *= static_cast<double>(n - k) / static_cast<double>(k + 1) * (p / q);
        }
    } else {
        for (long long k = c; k >= 0 && term > 0; --k) {
            sum += term;
            if (term < sum * 1e-17) {
                break;
            }
            term *= static_cast<double>(k) / static_cast<double>(n - k + 1) * (q / p);
        }
    }
    return std::min(sum, 1.0);
}

// The dominant root 1 − ε of the recurrence of none(m) below: ε solves
// ε·(1 − ε)^L = c on (0, 1/(L + 1)], where the left side rises and bends
// down, so Newton's steps from ε = c approach it from below.
double dominantGap(long long length, double c) {
    const auto L = static_cast<double>(length);
    double e = c;
    for (int i = 0; i < 200; ++i) {
        const double power = std::exp((L - 1) * std::log1p(-e)); // (1 − ε)^(L−1)
        const double g = e * power * (1 - e) - c;
        const double slope = power * (1 - (L + 1) * e);
        if (!(slope > 0)) {
            break;
        }
        const double step = g / slope;
        e -= step;
        if (std::abs(step) <= 1e-17 * e) {
            break;
        }
    }
    return e;
}

// Σ count · log P(no series of LENGTH (or longer) of a side with chance p in
// n decisions) over the sequences (n → count). With none(m) that chance in
// m decisions: the first such series ends at m = LENGTH if all are that
// side, and later at m if decision m − LENGTH is the other side, the LENGTH
// after it this side and none came before:
//   none(m) = none(m − 1) − q·p^LENGTH·none(m − LENGTH − 1),
// and some(m) = 1 − none(m) by its own sum of the same terms, so that either
// is exact when small. The recurrence's other roots are at most about half
// its largest, 1 − ε; once they have died away (a few hundred decisions),
// none(m) falls by the factor 1 − ε a decision, which carries it to any n.
double logChanceOfNone(const std::map<long long, long long>& sequences, long long length,
                       double p) {
    const double q = 1 - p;
    const double pL = std::pow(p, static_cast<double>(length));
    double logNone = 0;
    if (pL == 0 || length > sequences.rbegin()->first) {
        return 0; // no such series (or one beyond a double's reach)
    }
    if (length == 1) { // every decision the other side
        for (const auto& [n, count] : sequences) {
            logNone += static_cast<double>(count) * static_cast<double>(n) * std::log(q);
        }
        return logNone;
    }
    const double c = q * pL;
    const long long settled = 8 * (length + 1) + 128;
    const long long maxN = sequences.rbegin()->first;
    const long long last = std::min(maxN, settled);
    const auto L = static_cast<std::size_t>(length);
    std::vector<double> none(L + 1, 1.0); // none(m − L − 1) .. none(m − 1), round
    std::size_t slot = static_cast<std::size_t>(length) % (L + 1);
    double noneNow = 1;
    double someNow = 0;
    double logAtLast = 0;
    auto next = sequences.begin();
    for (long long m = length; m <= last; ++m) {
        if (m == length) {
            someNow = pL;
            noneNow = 1 - pL;
        } else {
            const double before = none[slot]; // none(m − L − 1)
            someNow = std::min(1.0, someNow + c * before);
            noneNow = std::max(0.0, noneNow - c * before);
        }
        none[slot] = noneNow;
        slot = slot == L ? 0 : slot + 1;
        logAtLast = someNow < 0.5 ? std::log1p(-someNow) : std::log(noneNow);
        while (next != sequences.end() && next->first <= m) {
            if (next->first == m) {
                logNone += static_cast<double>(next->second) * logAtLast;
            }
            ++next;
        }
    }
    if (next != sequences.end()) {
        const double logFactor = std::log1p(-dominantGap(length, c));
        for (; next != sequences.end(); ++next) {
            logNone += static_cast<double>(next->second) *
                       (logAtLast + static_cast<double>(next->first - last) * logFactor);
        }
    }
    return logNone;
}

} // namespace

double PairSeries::expectedOfLength(int side, long long k) const {
    (void)side; // both sides are equally likely
    double sum = 0;
    for (const auto& [n, count] : sequences) {
        sum += static_cast<double>(count) * expectedSeries(n, k, kSideChance);
    }
    return sum;
}

double PairSeries::chanceOfSeries(int side, long long length) const {
    (void)side; // both sides are equally likely
    if (sequences.empty() || sequences.rbegin()->first <= 0) {
        return 0;
    }
    if (length <= 0) {
        return 1;
    }
    const double logNone = logChanceOfNone(sequences, length, kSideChance);
    return std::isfinite(logNone) ? -std::expm1(logNone) : 1;
}

std::optional<double> PairSeries::runsZ() const {
    if (!(m_runsVariance > 0)) {
        return std::nullopt;
    }
    return (static_cast<double>(runs) - m_runsMean) / std::sqrt(m_runsVariance);
}

double PairSeries::ecartPerRoot() const {
    return decisions > 0 ? static_cast<double>(ecart()) / std::sqrt(static_cast<double>(decisions))
                         : 0;
}

double NumberCounts::sd() const {
    const double p = 1.0 / kNumbers;
    return std::sqrt(static_cast<double>(spins) * p * (1 - p));
}

double NumberCounts::chiSquare() const {
    if (spins <= 0) {
        return 0;
    }
    const double e = expected();
    double sum = 0;
    for (long long c : counts) {
        const double d = static_cast<double>(c) - e;
        sum += d * d;
    }
    return sum / e;
}

std::optional<double> NumberCounts::chiSquareP() const {
    if (spins < kLeastChiSquareSpins) {
        return std::nullopt;
    }
    return chiSquareTail(chiSquare(), kNumbers - 1);
}

int NumberCounts::most() const {
    return static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

int NumberCounts::least() const {
    return static_cast<int>(std::min_element(counts.begin(), counts.end()) - counts.begin());
}

double NumberCounts::chanceForOne(int number) const {
    if (number < 0 || number >= kNumbers || spins <= 0) {
        return 1;
    }
    const long long c = counts[static_cast<std::size_t>(number)];
    const bool upper = static_cast<double>(c) >= expected();
    return binomialTail(spins, 1.0 / kNumbers, c, upper);
}

double NumberCounts::chanceAmong37(int number) const {
    const double one = chanceForOne(number);
    if (one >= 1) {
        return 1;
    }
    return -std::expm1(kNumbers * std::log1p(-one));
}

} // namespace cr::analysis
