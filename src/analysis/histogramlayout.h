// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/goodness.h"
#include "core/chartlayout.h"

#include <string>
#include <vector>

namespace cr::analysis {

// The arithmetic of the histogram chart, apart from its painting: the value
// axis and, per class, where its two bars stand. Positions are fractions of
// the plot area, across from its left edge and up from its bottom.

struct HistogramBars {
    double left = 0; // of the class's slot
    double right = 0;
    double observedLeft = 0; // the bar of the observed count
    double observedRight = 0;
    double observedTop = 0;
    double expectedLeft = 0; // the bar of the expected count, right beside it
    double expectedRight = 0;
    double expectedTop = 0;
};

struct HistogramLayout {
    ValueAxis axis; // linear from 0, up to the tallest bar or the first tick above it
    std::vector<AxisTick> ticks;
    std::vector<HistogramBars> bars;
};

// TICKS: about how many labelled ticks above 0 the plot's height has room for.
HistogramLayout layoutHistogram(const std::vector<HistogramClass>& classes, int ticks = 5);

// The class whose slot lies at fraction X across the plot area; -1 outside.
int classAt(const HistogramLayout& layout, double x);

// "3" for a class of one value, "0–2" for pooled values.
std::string classLabel(const HistogramClass& c);

// Every how many classes a label fits under its bar when a slot is SLOT
// pixels wide and the widest label LABEL pixels (with room between labels).
int labelStride(double slot, double label);

} // namespace cr::analysis
