// SPDX-License-Identifier: GPL-3.0-or-later
// Where the histogram chart puts its bars and its value axis.
#include "analysis/histogramlayout.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using namespace cr::analysis;

std::vector<HistogramClass> classesOf(const std::vector<std::pair<long long, double>>& counts) {
    std::vector<HistogramClass> classes;
    int value = 0;
    for (const auto& [observed, expected] : counts) {
        classes.push_back({value, value, observed, expected});
        ++value;
    }
    return classes;
}

TEST(HistogramLayout, BarsStandInTheirSlotsAtTheHeightOfTheirCounts) {
    const struct {
        const char* name;
        std::vector<std::pair<long long, double>> counts;
        int ticks;       // room for about this many
        double high;     // the axis's top
        std::size_t bar; // a bar checked by height
        double observedTop;
        double expectedTop;
    } cases[] = {
        {"tallest bar on a round number reaches the top",
         {{12, 14.5}, {50, 41.0}, {9, 7.5}},
         5,
         50,
         1,
         1.0,
         0.82},
        {"tallest bar below the next tick", {{47, 30.0}, {3, 20.0}}, 5, 50, 0, 0.94, 0.6},
        {"a low plot, two ticks at most", {{47, 30.0}, {3, 20.0}}, 2, 50, 0, 0.94, 0.6},
        {"a low plot, one tick", {{47, 30.0}, {3, 20.0}}, 1, 50, 1, 0.06, 0.4},
        {"expected above observed", {{3, 8.2}}, 5, 10, 0, 0.3, 0.82},
        {"one class", {{400, 400.0}}, 5, 400, 0, 1.0, 1.0},
        {"all counts zero", {{0, 0.0}, {0, 0.0}, {0, 0.0}}, 5, 1, 2, 0.0, 0.0},
        {"many classes", std::vector<std::pair<long long, double>>(120, {5, 6.0}), 5, 6, 119,
         5.0 / 6, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const HistogramLayout layout = layoutHistogram(classesOf(c.counts));
        EXPECT_DOUBLE_EQ(layout.axis.high, c.high);
        EXPECT_EQ(layout.axis.low, 0);
        ASSERT_FALSE(layout.ticks.empty());
        EXPECT_EQ(layout.ticks.front().value, 0);
        EXPECT_DOUBLE_EQ(layout.ticks.back().value, c.high);
        ASSERT_EQ(layout.bars.size(), c.counts.size());
        EXPECT_NEAR(layout.bars[c.bar].observedTop, c.observedTop, 1e-12);
        EXPECT_NEAR(layout.bars[c.bar].expectedTop, c.expectedTop, 1e-12);
        const double slot = 1.0 / static_cast<double>(c.counts.size());
        for (std::size_t i = 0; i < layout.bars.size(); ++i) {
            const HistogramBars& b = layout.bars[i];
            EXPECT_NEAR(b.left, static_cast<double>(i) * slot, 1e-12) << i;
            EXPECT_NEAR(b.right, static_cast<double>(i + 1) * slot, 1e-12) << i;
            EXPECT_LT(b.left, b.observedLeft) << i;
            EXPECT_LT(b.observedLeft, b.observedRight) << i;
            EXPECT_DOUBLE_EQ(b.observedRight, b.expectedLeft) << i;
            EXPECT_LT(b.expectedRight, b.right) << i;
            for (double top : {b.observedTop, b.expectedTop}) {
                EXPECT_TRUE(top >= 0 && top <= 1) << i << " " << top;
            }
        }
    }
}

TEST(HistogramLayout, PointerFindsTheClassOfItsSlot) {
    const HistogramLayout four = layoutHistogram(classesOf({{1, 1}, {2, 2}, {3, 3}, {4, 4}}));
    const struct {
        double x;
        int expected;
    } cases[] = {{0.0, 0},   {0.24, 0}, {0.25, 1},   {0.6, 2},
                 {0.999, 3}, {1.0, -1}, {-0.01, -1}, {std::nan(""), -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(classAt(four, c.x), c.expected) << c.x;
    }
    EXPECT_EQ(classAt(layoutHistogram({}), 0.5), -1);
}

TEST(HistogramLayout, LabelsNameTheirValuesAndLeaveRoomBetween) {
    EXPECT_EQ(classLabel({3, 3, 0, 0}), "3");
    EXPECT_EQ(classLabel({0, 2, 0, 0}), "0\u20132");
    const struct {
        double slot;
        double label;
        int stride;
    } cases[] = {{40, 20, 1}, {20, 20, 2}, {10, 20, 3}, {1, 20, 26}, {0, 20, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(labelStride(c.slot, c.label), c.stride) << c.slot << " " << c.label;
    }
}

} // namespace
