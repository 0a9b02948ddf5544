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
