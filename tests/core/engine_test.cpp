// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's packed cells against the window's own pass over its named
// field tables (evaluateSpin), over long random runs at several step rates.
#include "core/engine.h"
#include "core/lazytwister.h"
#include "core/run.h"
#include "run_harness.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using cr::testing::countersOf;
using cr::testing::numbersOf;

struct Case {
    const char* name;
    int steprate;
    int steps;      // whole steps, then a part of one
    int checkEvery; // compare the counters after every so many spins
    unsigned seed;
    int zeroWeight; // extra zeros among the numbers, to put many fields out
};

class EngineAgainstWindow : public testing::TestWithParam<Case> {};

TEST_P(EngineAgainstWindow, CountsTheSameFieldsAtEverySpinAndStep) {
    const Case& c = GetParam();
    std::mt19937 random(c.seed);
    std::uniform_int_distribution<int> draw(-c.zeroWeight, 36);
    cr::RunState s;
    s.farbe = cr::makeColourTable();
    cr::freshEvaluation(s, c.steprate);
    cr::Engine engine(c.steprate);
    std::vector<cr::StepResult> windowSteps;
    std::vector<std::uint8_t> numbers;
    const long long spins = static_cast<long long>(c.steps) * c.steprate + c.steprate / 2;
    for (long long spin = 1; spin <= spins && !HasFailure(); ++spin) {
        const int n = std::max(draw(random), 0);
        ++s.zeile;
        cr::evaluateSpin(s, n, s.zeile);
        engine.spin(n);
        numbers.push_back(static_cast<std::uint8_t>(n));
        const bool stepEnd = s.zeile == c.steprate;
        if (stepEnd) {
            windowSteps.push_back(cr::stepResultOf(s));
            s.statwert = cr::halvedStatistic(s.statwert);
            s.zeile = 0;
            ++s.schritt;
        }
        if (stepEnd || spin % c.checkEvery == 0) {
            ASSERT_EQ(engine.counters(), countersOf(s)) << "spin " << spin;
            ASSERT_EQ(engine.schritt(), s.schritt) << "spin " << spin;
        }
    }
    EXPECT_EQ(numbersOf(engine.steps()), numbersOf(windowSteps));
    EXPECT_EQ(engine.statwert(), s.statwert);
    // The same numbers handed over in stretches of any length, across step ends.
    cr::Engine stretches(c.steprate);
    std::uniform_int_distribution<std::size_t> stretch(0, 3 * static_cast<std::size_t>(c.steprate));
    for (std::size_t at = 0; at < numbers.size();) {
        const std::size_t take = std::min(stretch(random), numbers.size() - at);
        stretches.spins(numbers.data() + at, take);
        at += take;
    }
    EXPECT_EQ(stretches.counters(), countersOf(s));
    EXPECT_EQ(numbersOf(stretches.steps()), numbersOf(windowSteps));
    // Reset starts afresh: every field empty again, none hit once.
    engine.reset();
    const int fields = 2 * c.steprate;
    EXPECT_EQ(engine.counters(), (std::array<int, 6>{fields, fields, fields, 0, 0, 0}));
    EXPECT_TRUE(engine.steps().empty());
    // The same numbers again after the reset give the same steps once more.
    engine.spins(numbers.data(), numbers.size());
    EXPECT_EQ(numbersOf(engine.steps()), numbersOf(windowSteps));
}

INSTANTIATE_TEST_SUITE_P(
    Rates, EngineAgainstWindow,
    testing::Values(Case{"StepRate1", 1, 5000, 1, 11, 0}, Case{"StepRate2", 2, 5000, 1, 12, 0},
                    Case{"StepRate2ManyZeros", 2, 2000, 1, 13, 20},
                    Case{"StepRate3", 3, 3000, 1, 17, 4}, Case{"StepRate4", 4, 3000, 1, 18, 0},
                    Case{"StepRate37", 37, 400, 1, 14, 0}, Case{"StepRate5", 5, 2000, 1, 15, 3},
                    Case{"StepRate16383", 16383, 12, 4099, 16, 0}),
    [](const testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

// The halving in whole numbers rounds half to even, as the import's rounding does.
TEST(HalvedStatistic, RoundsHalfToEven) {
    const std::pair<int, int> cases[] = {{0, 0}, {1, 0}, {2, 1},         {3, 2},
                                         {5, 2}, {7, 4}, {32765, 16382}, {32767, 16384}};
    for (const auto& [statwert, half] : cases) {
        EXPECT_EQ(cr::halvedStatistic(statwert), half) << statwert;
    }
}

// The twister renewing word by word draws what the standard one draws, over
// several renewals and after seeding again.
TEST(LazyTwister, DrawsTheStandardSequence) {
    for (const std::uint64_t seed : {0ULL, 1ULL, 5489ULL, 0x9e3779b97f4a7c15ULL, ~0ULL}) {
        cr::LazyTwister lazy;
        std::mt19937_64 standard(seed + 1);
        lazy.seed(seed + 1);
        for (int i = 0; i < 700; ++i) {
            ASSERT_EQ(lazy(), standard()) << "seed " << seed + 1 << " draw " << i;
        }
        // Drawn in bulk, in stretches of every length across the seeding, the
        // ends of the state and a second renewal, mixed with single draws.
        lazy.seed(seed);
        standard.seed(seed);
        std::vector<std::uint64_t> words(400);
        int drawn = 0;
        for (std::size_t stretch = 0; drawn < 3000; stretch = (stretch * 7 + 13) % 400) {
            lazy.draw(words.data(), stretch);
            for (std::size_t i = 0; i < stretch; ++i, ++drawn) {
                ASSERT_EQ(words[i], standard()) << "seed " << seed << " bulk draw " << drawn;
            }
            ASSERT_EQ(lazy(), standard()) << "seed " << seed << " draw " << drawn++;
        }
    }
    cr::LazyTwister unseeded;
    std::mt19937_64 standard;
    EXPECT_EQ(unseeded(), standard());
}

} // namespace
