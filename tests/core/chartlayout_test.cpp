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
    {"StepCount1", 37, 1, 18, 10, 40, 10, 100},
    {"StepCount12", 37, 12, 18, 10, 40, 0.01, 100},
    {"StepCount500", 37, 500, 18, 10, 40, 0.001, 100},
    {"AllZerosOnTheLogAxis", 0, 3, 0, 0.2, 1, 1, 10},
    {"StepCount21", 1, 21, 1, 0.5, 1.5, 0.001, 10},
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

    EXPECT_DOUBLE_EQ(cr::stepFraction(steps.size(), 0.5), 0);
    EXPECT_DOUBLE_EQ(cr::stepFraction(steps.size(), c.count + 0.5), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChartAxis, testing::ValuesIn(kAxisCases),
                         [](const testing::TestParamInfo<AxisCase>& c) { return c.param.name; });

// The axis of deviations reaches below zero: at least −3 to 3, both ends on
// a tick, a tick at exactly 0 and every label's width considered.
TEST(ChartLayout, DeviationAxisReachesBelowZero) {
    const double nan = std::nan("");
    const struct {
        std::vector<double> zs;
        double low, high, tick;
    } cases[] = {
        {{}, -3, 3, 1},
        {{0.4, -1.2}, -3, 3, 1},
        {{-7.3, 2}, -8, 4, 2},  // 10,3 / 6 rounds up to 2
        {{nan, 12}, -5, 15, 5}, // a z that is no number is left out
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.low << ".." << c.high);
        const cr::ValueAxis axis = cr::deviationAxis(c.zs);
        EXPECT_FALSE(axis.logarithmic);
        EXPECT_DOUBLE_EQ(axis.low, c.low);
        EXPECT_DOUBLE_EQ(axis.high, c.high);
        EXPECT_DOUBLE_EQ(axis.tick, c.tick);
        const std::vector<cr::AxisTick> ticks = cr::valueTicks(axis);
        ASSERT_EQ(ticks.size(),
                  static_cast<std::size_t>(std::lround((c.high - c.low) / c.tick)) + 1);
        EXPECT_DOUBLE_EQ(ticks.front().value, c.low);
        EXPECT_DOUBLE_EQ(ticks.back().value, c.high);
        EXPECT_TRUE(std::any_of(ticks.begin(), ticks.end(),
                                [](const cr::AxisTick& t) { return t.value == 0.0; }));
        const std::vector<double> widest = cr::widestLabelValues(axis);
        EXPECT_NE(std::find(widest.begin(), widest.end(), c.low), widest.end());
        EXPECT_DOUBLE_EQ(cr::valueFraction(axis, c.low), 0);
        EXPECT_DOUBLE_EQ(cr::valueFraction(axis, 0), -c.low / (c.high - c.low));
    }
}

// z of a mean over many runs, in standard errors; none where it cannot be.
TEST(ChartLayout, MeanDeviationIsInStandardErrors) {
    // Step rate 37, step 1: mean 36, σ √(36/37) = 0,986394; step 2: mean
    // 648/37 = 17,513514, σ 3,037054.
    EXPECT_NEAR(*cr::meanDeviation(36.5, 100, 37, 1), 0.5 / 0.0986394, 1e-5);
    EXPECT_NEAR(*cr::meanDeviation(17.0, 25, 37, 2), -0.513514 / 0.6074108, 1e-5);
    EXPECT_FALSE(cr::meanDeviation(36.5, 0, 37, 1)) << "no runs";
    EXPECT_FALSE(cr::meanDeviation(0, 10, 0, 1)) << "σ 0";
    EXPECT_FALSE(cr::meanDeviation(std::nan(""), 10, 37, 1)) << "no number";
}

// Labels on the step axis leave room between them at any width of a step.
TEST(ChartLayout, StepLabelsLeaveRoomBetweenThem) {
    const struct {
        double stepWidth, labelWidth;
        int every;
    } cases[] = {{80, 40, 1}, {40, 40, 1}, {30, 40, 2}, {9, 40, 5}, {0.5, 40, 100}, {0, 40, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(cr::stepLabelSpacing(c.stepWidth, c.labelWidth), c.every) << c.stepWidth;
    }
    EXPECT_EQ(cr::stepLabels(21, 5), (std::vector<int>{5, 10, 15, 20}));
    EXPECT_EQ(cr::stepLabels(3, 1), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(cr::stepLabels(4, 5).empty());
}

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
    // Step rate 37, step 1: mean 36, σ √(36/37) = 0,986; over 100 runs the
    // standard error is 0,0986, and 0,5 above the mean is z = 5,07.
    EXPECT_EQ(cr::meanInfoText("Leer R/S", 1, 36.5, 1, 100, 37, german),
              "Leer R/S, Step 1\nMittel über 100 Läufe: 36,50, SD über die Läufe 1,00\n"
              "Erwartungswert 36,00, σ eines Laufes 0,99\n"
              "z = 5,07: Abstand des Mittels vom Erwartungswert in σ/√Läufe.\n"
              "|z| über 2 kommt bei reinem Zufall in etwa 1 von 22 Fällen vor.");
    EXPECT_EQ(cr::meanInfoText("1x (rot) G/U", 2, 0.5, 0.25, 0, 4, german),
              "1x (rot) G/U, Step 2\nMittel über die Läufe: 0,50, SD über die Läufe 0,25\n"
              "Erwartungswert 1,89, σ eines Laufes 1,00");
}

// The chart keeps every step on its axis; the trailing steps where all six
// counters stand at zero are named in a line of their own.
TEST(ChartLayout, FindsTheTrailingStepsWhereEveryCounterIsZero) {
    const auto steps = [](std::vector<std::array<int, 6>> counters) {
        std::vector<cr::StepResult> result(counters.size());
        for (std::size_t k = 0; k < counters.size(); ++k) {
            result[k].step = static_cast<int>(k) + 1;
            result[k].leer = {counters[k][0], counters[k][1], counters[k][2]};
            result[k].einmal = {counters[k][3], counters[k][4], counters[k][5]};
            result[k].statistisch = 3; // not a counter
        }
        return result;
    };
    const std::array<int, 6> zero{};
    const std::array<int, 6> someEinmalGu{0, 0, 0, 0, 0, 1};
    const std::array<int, 6> many{9, 8, 7, 6, 5, 4};
    std::vector<std::array<int, 6>> long15(15, zero);
    long15[0] = many;
    long15[9] = someEinmalGu;
    const struct {
        std::vector<std::array<int, 6>> counters;
        int first;
        std::string text;
    } cases[] = {
        {{}, 0, ""},
        {{many, many}, 0, ""},
        {{many, zero, someEinmalGu}, 0, ""},
        {{many, someEinmalGu, zero}, 3, "Step 3: alle Zähler 0"},
        {{zero, zero}, 1, "Steps 1–2: alle Zähler 0"},
        {long15, 11, "Steps 11–15: alle Zähler 0"},
    };
    for (const auto& c : cases) {
        const std::vector<cr::StepResult> history = steps(c.counters);
        const int first = cr::zeroTailStart(history);
        EXPECT_EQ(first, c.first) << c.counters.size() << " steps";
        if (first > 0) {
            EXPECT_EQ(cr::zeroTailText(first, history.back().step), c.text);
        }
    }
}

// "Statistisch" starts at the step rate and halves, rounded half to even.
TEST(ChartLayout, StatisticHalvesFromTheSteprate) {
    const struct {
        int steprate;
        std::vector<double> course; // step 1 first
    } cases[] = {{5, {5, 2.5, 1, 0.5, 0, 0}}, {3, {3, 1.5, 1, 0.5, 0}}, {37, {37, 18.5, 9}}};
    for (const auto& c : cases) {
        for (std::size_t k = 0; k < c.course.size(); ++k) {
            EXPECT_DOUBLE_EQ(cr::statisticAt(c.steprate, static_cast<int>(k) + 1), c.course[k])
                << "step rate " << c.steprate << ", step " << k + 1;
        }
    }
}

} // namespace
