// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/histogramlayout.h"

#include <algorithm>
#include <cmath>

namespace cr::analysis {

namespace {

// Of a class's slot, the gap either side of its pair of bars.
constexpr double kSlotMargin = 0.12;
constexpr double kLabelRoom = 1.3;

} // namespace

HistogramLayout layoutHistogram(const std::vector<HistogramClass>& classes, int ticks) {
    HistogramLayout layout;
    double top = 0;
    for (const HistogramClass& c : classes) {
        top = std::max({top, static_cast<double>(c.observed), c.expected});
    }
    layout.axis = linearAxis(top, ticks);
    layout.ticks = valueTicks(layout.axis);
    const double slot = 1.0 / static_cast<double>(std::max<std::size_t>(classes.size(), 1));
    for (std::size_t i = 0; i < classes.size(); ++i) {
        HistogramBars b;
        b.left = static_cast<double>(i) * slot;
        b.right = b.left + slot;
        const double middle = b.left + slot / 2;
        b.observedLeft = b.left + kSlotMargin * slot;
        b.observedRight = middle;
        b.expectedLeft = middle;
        b.expectedRight = b.right - kSlotMargin * slot;
        b.observedTop = valueFraction(layout.axis, static_cast<double>(classes[i].observed));
        b.expectedTop = valueFraction(layout.axis, classes[i].expected);
        layout.bars.push_back(b);
    }
    return layout;
}

int classAt(const HistogramLayout& layout, double x) {
    const auto count = static_cast<double>(layout.bars.size());
    if (layout.bars.empty() || !(x >= 0 && x < 1)) {
        return -1;
    }
    return std::min(static_cast<int>(std::floor(x * count)), static_cast<int>(count) - 1);
}

std::string classLabel(const HistogramClass& c) {
    if (c.low == c.high) {
        return std::to_string(c.low);
    }
    return std::to_string(c.low) + "\u2013" + std::to_string(c.high);
}

int labelStride(double slot, double label) {
    if (!(slot > 0)) {
        return 1;
    }
    return std::max(1, static_cast<int>(std::ceil(label * kLabelRoom / slot)));
}

} // namespace cr::analysis
