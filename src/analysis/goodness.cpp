// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/goodness.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace cr::analysis {

namespace {

constexpr double kLeastExpected = 5;

// The regularised upper incomplete gamma function Q(a, x): by its series
// below a + 1, by its continued fraction above.
double upperGamma(double a, double x) {
    if (x <= 0) {
        return 1;
    }
    const double logFront = a * std::log(x) - x - std::lgamma(a);
    if (x < a + 1) {
        double term = 1 / a;
        double sum = term;
        for (int k = 1; k < 1000 && std::abs(term) > std::abs(sum) * 1e-16; ++k) {
            term *= x / (a + k);
            sum += term;
        }
        return 1 - sum * std::exp(logFront);
    }
    constexpr double tiny = 1e-300;
    double b = x + 1 - a;
    double c = 1 / tiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < 1000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        d = std::abs(d) < tiny ? tiny : d;
        c = b + an / c;
        c = std::abs(c) < tiny ? tiny : c;
        d = 1 / d;
        const double delta = d * c;
        h *= delta;
        if (std::abs(delta - 1) < 1e-16) {
            break;
        }
    }
    return std::exp(logFront) * h;
}

} // namespace

double binomialProbability(int n, double q, int k) {
    if (k < 0 || k > n) {
        return 0;
    }
    if (q <= 0 || q >= 1) {
        return (q <= 0 ? k == 0 : k == n) ? 1 : 0;
    }
    const double logChoose = std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0);
    return std::exp(logChoose + k * std::log(q) + (n - k) * std::log1p(-q));
}

double atLeastAsFar(int n, double q, int value) {
    const double mean = n * q;
    const double distance = std::abs(value - mean) * (1 - 1e-12); // this value counts
    double chance = 0;
    for (int k = 0; k <= n; ++k) {
        if (std::abs(k - mean) >= distance) {
            chance += binomialProbability(n, q, k);
        }
    }
    return std::min(chance, 1.0);
}

double chiSquareTail(double x, int freedom) {
    return freedom <= 0 ? 1 : upperGamma(freedom / 2.0, x / 2.0);
}

GoodnessOfFit binomialFit(const std::vector<long long>& counts, int n, double q) {
    GoodnessOfFit fit;
    const long long runs = std::accumulate(counts.begin(), counts.end(), 0LL);
    HistogramClass open;
    for (int v = 0; v <= n; ++v) {
        const auto index = static_cast<std::size_t>(v);
        open.high = v;
        open.observed += index < counts.size() ? counts[index] : 0;
        open.expected += static_cast<double>(runs) * binomialProbability(n, q, v);
        if (open.expected >= kLeastExpected) {
            fit.classes.push_back(open);
            open = HistogramClass{v + 1, v + 1, 0, 0};
        }
    }
    // The tail expected fewer than five times joins the class below it.
    if (open.low <= n && !fit.classes.empty()) {
        fit.classes.back().high = n;
        fit.classes.back().observed += open.observed;
        fit.classes.back().expected += open.expected;
    } else if (open.low <= n) {
        fit.classes.push_back(open);
    }
    for (const HistogramClass& c : fit.classes) {
        if (c.expected > 0) {
            const double d = static_cast<double>(c.observed) - c.expected;
            fit.chiSquare += d * d / c.expected;
        }
    }
    fit.freedom = static_cast<int>(fit.classes.size()) - 1;
    fit.pValue = chiSquareTail(fit.chiSquare, fit.freedom);
    return fit;
}

} // namespace cr::analysis
