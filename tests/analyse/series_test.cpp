// SPDX-License-Identifier: GPL-3.0-or-later
// Series of the even chances and the 37 numbers against their exact laws.
#include "analysis/runs.h"
#include "analysis/series.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {

using namespace cr::analysis;
using Lengths = std::vector<long long>;

std::vector<std::uint8_t> repeated(std::uint8_t number, int times) {
    return std::vector<std::uint8_t>(static_cast<std::size_t>(times), number);
}

// Permanences counted by hand. Rot: 1 3 5 7 9 12 14 16 18 19 21 23 25 27 30 32
// 34 36; Manque 1–18; Gerade the even numbers.
TEST(Series, HandCountedPermanences) {
    struct Expected {
        Lengths first, second;
        long long runs;
    };
    const struct {
        const char* name;
        std::vector<std::vector<std::uint8_t>> sequences;
        long long spins, decisions;
        Expected rs, mp, gu;
    } cases[] = {
        {"zeros at both edges and inside a series",
         {{0, 1, 3, 0, 5, 2, 0}},
         7,
         4,
         {{0, 0, 1}, {1}, 2},
         {{0, 0, 0, 1}, {}, 1},
         {{1}, {0, 0, 1}, 2}},
        {"only zeros", {{0, 0, 0}}, 3, 0, {{}, {}, 0}, {{}, {}, 0}, {{}, {}, 0}},
        {"one spin", {{36}}, 1, 1, {{1}, {}, 1}, {{}, {1}, 1}, {{1}, {}, 1}},
        {"every change of side",
         {{19, 0, 20, 21, 0, 0, 22, 1, 0}},
         9,
         5,
         {{3}, {2}, 5},
         {{1}, {0, 0, 0, 1}, 2},
         {{2}, {3}, 5}},
        // Series never cross from one sequence into the next.
        {"two sequences", {{1, 0}, {3}, {}}, 3, 2, {{2}, {}, 2}, {{2}, {}, 2}, {{}, {2}, 2}},
    };
    for (const auto& c : cases) {
        SeriesStats stats;
        for (const auto& s : c.sequences) {
            addSequence(stats, s);
        }
        EXPECT_EQ(stats.numbers.spins, c.spins) << c.name;
        EXPECT_EQ(stats.sequences, static_cast<long long>(c.sequences.size())) << c.name;
        const Expected* pairs[] = {&c.rs, &c.mp, &c.gu};
        for (int p = 0; p < kSeriesPairs; ++p) {
            const PairSeries& got = stats.pairs[static_cast<std::size_t>(p)];
            EXPECT_EQ(got.decisions, c.decisions) << c.name << p;
            EXPECT_EQ(got.byLength[0], pairs[p]->first) << c.name << p;
            EXPECT_EQ(got.byLength[1], pairs[p]->second) << c.name << p;
            EXPECT_EQ(got.runs, pairs[p]->runs) << c.name << p;
            EXPECT_EQ(got.longest[0], static_cast<long long>(pairs[p]->first.size())) << c.name;
            EXPECT_EQ(got.longest[1], static_cast<long long>(pairs[p]->second.size())) << c.name;
        }
    }
}

TEST(Series, LongSeriesAreCountedExactly) {
    std::vector<std::uint8_t> numbers;
    for (int length : {63, 64, 65, 130}) {
        const auto red = repeated(1, length);
        numbers.insert(numbers.end(), red.begin(), red.end());
        numbers.push_back(0); // passed over
        numbers.push_back(2); // Schwarz, Manque, Gerade
    }
    SeriesStats stats;
    addSequence(stats, numbers);
    const PairSeries& rs = stats.pairs[0];
    ASSERT_EQ(rs.byLength[0].size(), 130U);
    EXPECT_EQ(rs.byLength[0][62], 1);
    EXPECT_EQ(rs.byLength[0][63], 1);
    EXPECT_EQ(rs.byLength[0][64], 1);
    EXPECT_EQ(rs.byLength[0][129], 1);
    EXPECT_EQ(rs.byLength[1], Lengths{4});
    EXPECT_EQ(rs.runs, 8);
    // Manque throughout: one series of every decision.
    EXPECT_EQ(stats.pairs[1].longest[0], 63 + 64 + 65 + 130 + 4);
    EXPECT_EQ(stats.pairs[1].runs, 1);
}

TEST(Series, RunsTestAndEcart) {
    SeriesStats stats;
    addSequence(stats, {19, 0, 20, 21, 0, 0, 22, 1, 0});
    const PairSeries& rs = stats.pairs[0];     // n1 = 3, n2 = 2, five series
    EXPECT_DOUBLE_EQ(rs.runsMean(), 3.4);      // 1 + 2·6/5
    EXPECT_DOUBLE_EQ(rs.runsVariance(), 0.84); // 12·(12 − 5)/(25·4)
    ASSERT_TRUE(rs.runsZ());
    EXPECT_NEAR(*rs.runsZ(), 1.6 / std::sqrt(0.84), 1e-12);
    EXPECT_EQ(rs.ecart(), 1);
    EXPECT_NEAR(rs.ecartPerRoot(), 1 / std::sqrt(5.0), 1e-12);
    // Manque 1, Passe 4 and one sequence of one side only: its variance is 0.
    SeriesStats oneSide;
    addSequence(oneSide, {1, 3, 0, 5});
    EXPECT_FALSE(oneSide.pairs[0].runsZ());
    EXPECT_DOUBLE_EQ(oneSide.pairs[0].runsMean(), 1);
    EXPECT_FALSE(SeriesStats{}.pairs[0].runsZ());
}

// Enumerated by hand over the 8 (16) sequences of three (four) decisions.
TEST(Series, ExactLawOfShortSequences) {
    PairSeries three;
    three.sequences = {{3, 1}};
    EXPECT_DOUBLE_EQ(three.expectedOfLength(0, 1), 5.0 / 8); // RSR 2, RSS SRS SSR 1 each
    EXPECT_DOUBLE_EQ(three.expectedOfLength(1, 2), 2.0 / 8); // RRS, SRR
    EXPECT_DOUBLE_EQ(three.expectedOfLength(0, 3), 1.0 / 8);
    EXPECT_DOUBLE_EQ(three.expectedOfLength(0, 4), 0);
    EXPECT_DOUBLE_EQ(three.chanceOfSeries(0, 2), 3.0 / 8); // RRR RRS SRR
    PairSeries both = three;
    both.sequences[4] = 2;
    // Twice four decisions: 8 of 16 hold no "RR" (Fibonacci); 5/8 · 1/2 · 1/2.
    EXPECT_DOUBLE_EQ(both.chanceOfSeries(0, 2), 1 - 5.0 / 32);
    EXPECT_DOUBLE_EQ(both.chanceOfSeries(1, 5), 0);
    EXPECT_DOUBLE_EQ(both.chanceOfSeries(1, 1), 1 - 1.0 / 8 / 16 / 16);
}

} // namespace

// The chance of a series against the recurrence run plainly in long double
// over every decision, where the program carries it on by its largest root.
long double plainChanceOfSeries(long long n, long long length) {
    std::vector<long double> none(static_cast<std::size_t>(n + 1), 1.0L);
    const long double c = std::pow(0.5L, static_cast<long double>(length + 1));
    for (long long m = length; m <= n; ++m) {
        const auto i = static_cast<std::size_t>(m);
        none[i] = m == length ? 1 - 2 * c
                              : none[i - 1] - c * none[i - 1 - static_cast<std::size_t>(length)];
    }
    return 1 - none[static_cast<std::size_t>(n)];
}

TEST(Series, ChanceOfLongSeriesFarOut) {
    const struct {
        long long n, length;
    } cases[] = {{60, 2}, {3000, 8}, {1'000'000, 20}, {200'000, 13}, {500, 40}};
    for (const auto& c : cases) {
        PairSeries pair;
        pair.sequences = {{c.n, 1}};
        EXPECT_NEAR(pair.chanceOfSeries(0, c.length),
                    static_cast<double>(plainChanceOfSeries(c.n, c.length)), 1e-11)
            << c.n << " " << c.length;
    }
    // No "RR" in 60 fair decisions: Fibonacci F(62) of the 2^60 sequences.
    PairSeries sixty;
    sixty.sequences = {{60, 1}};
    EXPECT_NEAR(1 - sixty.chanceOfSeries(0, 2), 4052739537881.0 / std::pow(2.0, 60), 1e-15);
}

// Simulated runs against the exact law: the series of each length, and
// how many runs hold a series at least L long (a few standard errors).
TEST(Series, ExactLawAgainstSimulation) {
    constexpr long long kRuns = 4000;
    constexpr long long kSpins = 300;
    const SeriesStats all = simulateSeries(kRuns, kSpins, 11, 2);
    for (int p = 0; p < kSeriesPairs; ++p) {
        const PairSeries& pair = all.pairs[static_cast<std::size_t>(p)];
        for (int side = 0; side < 2; ++side) {
            for (long long k = 1; k <= 10; ++k) {
                const double expected = pair.expectedOfLength(side, k);
                const auto seen = static_cast<double>(
                    pair.byLength[static_cast<std::size_t>(side)][static_cast<std::size_t>(k - 1)]);
                EXPECT_NEAR(seen, expected, 4 * std::sqrt(expected) + 1) << p << side << k;
            }
        }
    }
    for (const long long length : {5, 8, 11}) {
        double expectedRuns = 0;
        double variance = 0;
        long long seen = 0;
        for (long long run = 0; run < kRuns; ++run) {
            SeriesStats one;
            addSequence(one, simulatedRun(11, run, kSpins));
            const double chance = one.pairs[0].chanceOfSeries(1, length);
            expectedRuns += chance;
            variance += chance * (1 - chance);
            seen += one.pairs[0].longest[1] >= length;
        }
        EXPECT_NEAR(static_cast<double>(seen), expectedRuns, 4 * std::sqrt(variance)) << length;
    }
}

// Counts of 37 numbers at `each` apiece but for the deviations given.
NumberCounts countsWith(long long each, const std::vector<std::pair<int, long long>>& deviations) {
    NumberCounts numbers;
    numbers.counts.fill(each);
    for (const auto& [number, d] : deviations) {
        numbers.counts[static_cast<std::size_t>(number)] += d;
    }
    for (long long c : numbers.counts) {
        numbers.spins += c;
    }
    return numbers;
}

// The 5 %, 1 % and 0.1 % points of the chi-square law with 36 degrees of
// freedom, met by deviations whose squares sum to χ² · n/37.
TEST(Numbers, ChiSquareMatchesTheTables) {
    const struct {
        long long each;
        std::vector<std::pair<int, long long>> deviations;
        double chi2, p;
    } cases[] = {
        {1000, {{0, 159}, {1, -159}, {2, 13}, {3, -13}, {4, 7}, {5, -7}}, 50.998, 0.05},
        {10000,
         {{7, 541},
          {8, -541},
          {9, 20},
          {10, -20},
          {11, 3},
          {12, -3},
          {13, 2},
          {14, -2},
          {15, 1},
          {16, -1}},
         58.619,
         0.01},
        {10000, {{36, 583}, {35, -583}, {20, 6}, {21, -6}}, 67.985, 0.001},
    };
    for (const auto& c : cases) {
        const NumberCounts numbers = countsWith(c.each, c.deviations);
        EXPECT_NEAR(numbers.chiSquare(), c.chi2, 1e-9);
        ASSERT_TRUE(numbers.chiSquareP());
        EXPECT_NEAR(*numbers.chiSquareP() / c.p, 1, 1e-3) << c.chi2;
    }
    // Below 185 spins (five expected per number) there is no p-value.
    EXPECT_FALSE(countsWith(5, {{0, -1}}).chiSquareP());
    EXPECT_TRUE(countsWith(5, {}).chiSquareP());
    EXPECT_DOUBLE_EQ(*countsWith(5, {}).chiSquareP(), 1);
}

// 37 spins: the exact binomial tails of one number, and among 37.
TEST(Numbers, MostAndLeastWithTheirChances) {
    // 3 × 17 and 3 × 20, 0 × 4 and 0 × 5: the smaller number on a tie.
    const NumberCounts numbers =
        countsWith(1, {{17, 2}, {20, 2}, {4, -1}, {5, -1}, {6, -1}, {7, -1}});
    EXPECT_EQ(numbers.spins, 37);
    EXPECT_EQ(numbers.most(), 17);
    EXPECT_EQ(numbers.least(), 4);
    const double r = 36.0 / 37;
    const double none = std::pow(r, 37); // P(X = 0)
    const double atLeast3 = 1 - none - std::pow(r, 36) - 666.0 / 1369 * std::pow(r, 35);
    EXPECT_NEAR(numbers.chanceForOne(4), none, 1e-14);
    EXPECT_NEAR(numbers.chanceForOne(17), atLeast3, 1e-14);
    EXPECT_NEAR(numbers.chanceAmong37(17), 1 - std::pow(1 - atLeast3, 37), 1e-13);
    EXPECT_NEAR(numbers.chanceForOne(0), 1 - none, 1e-14); // once, as expected: the upper tail
    EXPECT_NEAR(numbers.sd(), std::sqrt(36.0 / 37), 1e-14);
}

// 10^5 spins of a wheel on which 16 comes 1.2 times as often as any other
// number, and of a fair one, both drawn from a fixed seed.
std::vector<std::uint8_t> wheel(std::uint64_t seed, double weight16) {
    std::mt19937_64 random(seed);
    std::vector<std::uint8_t> numbers(100'000);
    const double total = 36 + weight16;
    for (auto& n : numbers) {
        const double u = static_cast<double>(random() >> 11) * 0x1.0p-53 * total;
        const int k = u < 16              ? static_cast<int>(u)
                      : u < 16 + weight16 ? 16
                                          : static_cast<int>(u - weight16) + 1;
        n = static_cast<std::uint8_t>(std::min(k, 36));
    }
    return numbers;
}

TEST(Numbers, BiasedWheelIsFoundAndFairOneIsNot) {
    SeriesStats biased;
    addSequence(biased, wheel(2024, 1.2));
    EXPECT_LT(*biased.numbers.chiSquareP(), 1e-6);
    EXPECT_EQ(biased.numbers.most(), 16);
    EXPECT_LT(biased.numbers.chanceAmong37(16), 1e-6);
    SeriesStats fair;
    addSequence(fair, wheel(2024, 1.0));
    EXPECT_GT(*fair.numbers.chiSquareP(), 1e-3);
    EXPECT_GT(fair.numbers.chanceAmong37(fair.numbers.most()), 1e-3);
    EXPECT_GT(fair.numbers.chanceAmong37(fair.numbers.least()), 1e-3);
}

// A simulation is the same on one thread or two, and the same as its runs
// drawn one by one.
TEST(Series, SimulationIndependentOfThreads) {
    const SeriesStats one = simulateSeries(300, 500, 7, 1);
    const SeriesStats two = simulateSeries(300, 500, 7, 2);
    SeriesStats byRun;
    for (long long run = 0; run < 300; ++run) {
        addSequence(byRun, simulatedRun(7, run, 500));
    }
    for (const SeriesStats* s : std::array<const SeriesStats*, 2>{&two, &byRun}) {
        EXPECT_EQ(s->numbers.counts, one.numbers.counts);
        EXPECT_EQ(s->sequences, 300);
        for (std::size_t p = 0; p < 3; ++p) {
            EXPECT_EQ(s->pairs[p].byLength, one.pairs[p].byLength);
            EXPECT_EQ(s->pairs[p].sequences, one.pairs[p].sequences);
            EXPECT_EQ(s->pairs[p].runs, one.pairs[p].runs);
            EXPECT_NEAR(s->pairs[p].runsMean(), one.pairs[p].runsMean(), 1e-9);
        }
    }
    EXPECT_EQ(two.pairs[0].runsMean(), one.pairs[0].runsMean());
    EXPECT_EQ(two.pairs[2].runsVariance(), one.pairs[2].runsVariance());
    EXPECT_EQ(one.numbers.spins, 150'000);
}
