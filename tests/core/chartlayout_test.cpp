// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chartlayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct NiceCase {
    double rough;
    double nice;
};

TEST(ChartLayout, NiceStepIsOneTwoOrFiveTimesAPowerOfTenAtLeastTheRoughDistance) {
    const NiceCase cases[] = {{0, 1},   {-3, 1},    {0.07, 0.1}, {1, 1},    {1.2, 2},
                              {2, 2},   {2.01, 5},  {5, 5},      {7.6, 10}, {12, 20},
                              {50, 50}, {450, 500}, {0.2, 0.2},  {0.3, 0.5}};
    for (const NiceCase& c : cases) {
        EXPECT_DOUBLE_EQ(cr::niceStep(c.rough), c.nice) << "rough " << c.rough;
    }
}

// A run of COUNT steps at STEPRATE whose counters and statistic all stand at
// FIRST in step 1 and at 0 afterwards: the band decides the axis.
struct AxisCase {
    std::string name;
    int steprate;
    int count;
    int first;
    double linearTick, linearHigh;
    double logLow, logHigh;
    int labelEvery;
};

class ChartAxis : public testing::TestWithParam<AxisCase> {
protected:
    std::vector<cr::StepResult> history() const {
        std::vector<cr::StepResult> steps(static_cast<std::size_t>(GetParam().count));
        for (std::size_t k = 0; k < steps.size(); ++k) {
            steps[k].step = static_cast<int>(k) + 1;
            const int value = k == 0 ? GetParam().first : 0;
            steps[k].leer = {value, value, value};
            steps[k].einmal = {value, value, value};
            steps[k].statistisch = value;
        }
        return steps;
    }
};

// Step rate 37: step 1 has the mean 36 and a band up to about 37,97.
// Step 12 has the mean 0,013; by step 500 the mean is far below 0,001.
const AxisCase kAxisCases[] = {
    {"StepCount1", 37, 1, 18, 10, 40, 10, 100, 1},
    {"StepCount12", 37, 12, 18, 10, 40, 0.01, 100, 1},
    {"StepCount500", 37, 500, 18, 10, 40, 0.001, 100, 50},
    {"AllZerosOnTheLogAxis", 0, 3, 0, 0.2, 1, 1, 10, 1},
    {"StepCount21LabelsEveryFifthStep", 1, 21, 1, 0.5, 1.5, 0.001, 10, 5},
};

TEST_P(ChartAxis, FitsTicksAndLabels) {
    const AxisCase& c = GetParam();
    const std::vector<cr::StepResult> steps = history();
    const cr::ValueAxis linear = cr::fitValueAxis(steps, c.steprate, false);
    EXPECT_DOUBLE_EQ(linear.low, 0);
    EXPECT_DOUBLE_EQ(linear.tick, c.linearTick);
    EXPECT_DOUBLE_EQ(linear.high, c.linearHigh);
    const std::vector<cr::AxisTick> ticks = cr::valueTicks(linear);
    ASSERT_EQ(ticks.size(), static_cast<std::size_t>(std::lround(c.linearHigh / c.linearTick)) + 1);
    EXPECT_DOUBLE_EQ(ticks.back().value, c.linearHigh);

    const cr::ValueAxis log = cr::fitValueAxis(steps, c.steprate, true);
    EXPECT_DOUBLE_EQ(log.low, c.logLow);
    EXPECT_DOUBLE_EQ(log.high, c.logHigh);
    // Every decade labelled, 2..9 times each decade below the top unlabelled.
    const auto decades = std::lround(std::log10(c.logHigh / c.logLow));
    EXPECT_EQ(cr::valueTicks(log).size(), static_cast<std::size_t>(decades * 9 + 1));
    EXPECT_EQ(cr::widestLabelValues(log).size(), static_cast<std::size_t>(decades + 1));
    // A counter at zero lies on the floor, the top on the top.
    EXPECT_DOUBLE_EQ(cr::valueFraction(log, 0), 0);
    EXPECT_DOUBLE_EQ(cr::valueFraction(log, c.logHigh), 1);

    const std::vector<int> labels = cr::stepLabels(c.count);
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), c.labelEvery);
    EXPECT_EQ(labels.size(), static_cast<std::size_t>(c.count / c.labelEvery));
    EXPECT_DOUBLE_EQ(cr::stepFraction(steps.size(), 0.5), 0);
    EXPECT_DOUBLE_EQ(cr::stepFraction(steps.size(), c.count + 0.5), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChartAxis, testing::ValuesIn(kAxisCases),
                         [](const testing::TestParamInfo<AxisCase>& c) { return c.param.name; });

// The band is the mean plus and minus twice sigma; where the lower edge
// would fall below zero it stays at zero; a single step gets a short bar.
TEST(ChartLayout, BandStopsAtZeroAndASingleStepIsAShortBar) {
    std::vector<cr::StepResult> steps(2);
    steps[0].step = 1;
    steps[1].step = 2;
    // Step rate 1: step 1 mean 0,973, sigma 0,162; step 2 mean 0,473, sigma 0,499.
    const std::vector<cr::BandPoint> band = cr::expectationBand(steps, 1);
    ASSERT_EQ(band.size(), 2u);
    EXPECT_DOUBLE_EQ(band[1].step, 2);
    EXPECT_DOUBLE_EQ(band[1].bottom, 0);
    EXPECT_NEAR(band[1].top, 1.471915, 1e-6);
    EXPECT_NEAR(band[0].bottom, 0.648649, 1e-6);

    steps.pop_back();
    const std::vector<cr::BandPoint> bar = cr::expectationBand(steps, 37);
    ASSERT_EQ(bar.size(), 2u);
    EXPECT_DOUBLE_EQ(bar[0].step, 0.8);
    EXPECT_DOUBLE_EQ(bar[1].step, 1.2);
    EXPECT_NEAR(bar[0].top, 37.972788, 1e-6); // mean 36, sigma 0,986
    EXPECT_DOUBLE_EQ(bar[1].top, bar[0].top);
}

// The tool tip of a point, with the numbers written as a German desktop would.
TEST(ChartLayout, PointInfoTellsValueMeanSigmaAndTail) {
    const cr::NumberWriter german = [](double value, char format, int precision) {
        char text[64];
        std::snprintf(text, sizeof text, format == 'f' ? "%.*f" : "%.*g", precision, value);
        std::string written(text);
        std::replace(written.begin(), written.end(), '.', ',');
        return written;
    };
    EXPECT_EQ(cr::pointInfoText("1x (rot) R/S", 3, 1, 4, 1, german),
              "1x (rot) R/S, Step 3: 1\nErwartungswert 0,92, σ 0,84\n"
              "So weit oder weiter vom Mittel: 100 %");
    EXPECT_EQ(cr::pointInfoText("Leer R/S", 1, 15000, 16383, 0.45678, german),
              "Leer R/S, Step 1: 15000\nErwartungswert 15940,22, σ 20,76\n"
              "So weit oder weiter vom Mittel: 45,7 %");
}

// The chart spreads the steps up to the last one with a counter above zero,
// and one more, across its width.
TEST(ChartLayout, ShowsStepsUpToTheLastAboveZeroAndOneMore) {
    const auto steps = [](std::vector<std::array<int, 6>> counters) {
        std::vector<cr::StepResult> result(counters.size());
        for (std::size_t k = 0; k < counters.size(); ++k) {
            result[k].step = static_cast<int>(k) + 1;
            result[k].leer = {counters[k][0], counters[k][1], counters[k][2]};
            result[k].einmal = {counters[k][3], counters[k][4], counters[k][5]};
        }
        return result;
    };
    const std::array<int, 6> zero{};
    const std::array<int, 6> someEinmalGu{0, 0, 0, 0, 0, 1};
    const std::array<int, 6> many{9, 8, 7, 6, 5, 4};
    std::vector<std::array<int, 6>> long500(500, zero);
    long500[0] = many;
    long500[6] = someEinmalGu;
    const struct {
        std::vector<std::array<int, 6>> counters;
        std::size_t shown;
    } cases[] = {
        {{}, 1},
        {{many}, 1},
        {{many, many, many}, 3},
        {{many, zero, zero, zero}, 2},
        {{many, someEinmalGu, zero, zero, zero}, 3},
        {{zero, zero}, 1},
        {long500, 8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cr::shownSteps(steps(c.counters)), c.shown) << c.counters.size() << " steps";
    }
}

} // namespace
