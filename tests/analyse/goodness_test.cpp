// SPDX-License-Identifier: GPL-3.0-or-later
// The histogram of a counter against the exact Binomial law.
#include "analysis/goodness.h"
#include "analysis/job.h"
#include "core/expectation.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

namespace {

using namespace cr::analysis;

// The 5 % points of the chi-square law, and the tails at zero and far out.
TEST(ChiSquare, TailMatchesTheTables) {
    const struct {
        double x;
        int freedom;
        double tail;
    } cases[] = {{3.841459, 1, 0.05}, {5.991465, 2, 0.05}, {18.307038, 10, 0.05},
                 {6.634897, 1, 0.01}, {0.0, 4, 1.0},       {1.0, 2, std::exp(-0.5)},
                 {200.0, 3, 0.0}};
    for (const auto& c : cases) {
        EXPECT_NEAR(chiSquareTail(c.x, c.freedom), c.tail, 1e-6) << c.x << " " << c.freedom;
    }
}

TEST(Binomial, ProbabilitiesSumToOneAndMatchTheMean) {
    for (const double q : {0.973, 0.5, 0.0146}) {
        double sum = 0;
        double mean = 0;
        for (int k = 0; k <= 37; ++k) {
            sum += binomialProbability(37, q, k);
            mean += k * binomialProbability(37, q, k);
        }
        EXPECT_NEAR(sum, 1, 1e-12) << q;
        EXPECT_NEAR(mean, 37 * q, 1e-10) << q;
    }
}

// The chance of a value at least as far from the mean, either side.
TEST(Binomial, AtLeastAsFarCountsBothSides) {
    EXPECT_NEAR(atLeastAsFar(37, 0.5, 37), 2 * std::pow(0.5, 37), 1e-20);
    EXPECT_NEAR(atLeastAsFar(37, 0.5, 0), 2 * std::pow(0.5, 37), 1e-20);
    EXPECT_NEAR(atLeastAsFar(2, 0.5, 1), 1, 1e-12); // the mean itself
    // 0 or 4 of 4 at q = 1/2: each 1/16.
    EXPECT_NEAR(atLeastAsFar(4, 0.5, 4), 2.0 / 16, 1e-12);
    EXPECT_NEAR(atLeastAsFar(4, 0.5, 3), 10.0 / 16, 1e-12);
    // Lopsided: 10 positions, q = 0.1, mean 1; 3 is 2 away, as nothing below is.
    double upper = 0;
    for (int k = 3; k <= 10; ++k) {
        upper += binomialProbability(10, 0.1, k);
    }
    EXPECT_NEAR(atLeastAsFar(10, 0.1, 3), upper, 1e-12);
}

// Counts that follow the law exactly fit it perfectly; classes are pooled
// until each is expected five times, and keep every run.
TEST(BinomialFit, PoolsSmallClassesAndFitsExactCounts) {
    const int n = 37;
    const double q = 2 * cr::fieldChance(3);
    const long long runs = 100000;
    std::vector<long long> counts(n + 1);
    for (int k = 0; k <= n; ++k) {
        counts[static_cast<std::size_t>(k)] =
            std::llround(static_cast<double>(runs) * binomialProbability(n, q, k));
    }
    const GoodnessOfFit fit = binomialFit(counts, n, q);
    ASSERT_GE(fit.classes.size(), 3u);
    long long observed = 0;
    double expected = 0;
    for (std::size_t i = 0; i < fit.classes.size(); ++i) {
        EXPECT_GE(fit.classes[i].expected, 5);
        if (i > 0) {
            EXPECT_EQ(fit.classes[i].low, fit.classes[i - 1].high + 1);
        }
        observed += fit.classes[i].observed;
        expected += fit.classes[i].expected;
    }
    EXPECT_EQ(fit.classes.front().low, 0);
    EXPECT_EQ(fit.classes.back().high, n);
    EXPECT_EQ(observed, std::accumulate(counts.begin(), counts.end(), 0LL));
    EXPECT_NEAR(expected, static_cast<double>(observed), 1);
    EXPECT_LT(fit.chiSquare, 1);
    EXPECT_GT(fit.pValue, 0.99);
    EXPECT_EQ(fit.freedom, static_cast<int>(fit.classes.size()) - 1);

    // All runs at one value: far off the law.
    std::vector<long long> lopsided(n + 1);
    lopsided[10] = runs;
    EXPECT_LT(binomialFit(lopsided, n, q).pValue, 1e-12);
}

// Simulated runs: the histogram of every counter holds every run, and the
// law is not rejected.
TEST(BinomialFit, SimulatedRunsFollowTheLaw) {
    JobInput input;
    input.simulate = true;
    input.runs = 20000;
    input.seed = 4;
    JobProgress progress;
    const JobResult result = runJob(input, progress);
    for (std::size_t step = 0; step < result.stats.steps().size(); ++step) {
        for (std::size_t c = 0; c < 6; ++c) {
            const std::vector<long long>& counts = result.stats.steps()[step].histogram[c];
            EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0LL), input.runs);
            const GoodnessOfFit fit =
                binomialFit(counts, 37, 2 * cr::fieldChance(static_cast<int>(step) + 1));
            EXPECT_GT(fit.pValue, 1e-4) << "step " << step + 1 << " counter " << c;
        }
    }
}

} // namespace
