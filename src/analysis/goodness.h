// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace cr::analysis {

// How often a counter took each value over the runs, against the exact
// Binomial(n, q) law: classes of neighbouring values pooled until each is
// expected at least five times, the chi-square statistic and its p-value.
struct HistogramClass {
    int low = 0; // the values low..high
    int high = 0;
    long long observed = 0;
    double expected = 0;
};

struct GoodnessOfFit {
    std::vector<HistogramClass> classes;
    double chiSquare = 0;
    int freedom = 0;   // classes - 1
    double pValue = 1; // of a chi-square at least this large; 1 without freedom
};

// counts[v] is the number of runs in which the counter took the value v.
GoodnessOfFit binomialFit(const std::vector<long long>& counts, int n, double q);

double binomialProbability(int n, double q, int k);
// The chance under Binomial(n, q) of a value at least as far from the mean
// n q as `value` is, either side.
double atLeastAsFar(int n, double q, int value);
// The chance that a chi-square with the given freedom reaches x or more.
double chiSquareTail(double x, int freedom);

} // namespace cr::analysis
