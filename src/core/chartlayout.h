// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/evaluation.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cr {

// The arithmetic of the course chart, apart from its painting: where the value
// axis begins and ends, where its ticks go, where the expectation band lies
// and which steps get a label. Positions are fractions of the plot area.

// The counters of a step in the chart's order: Leer R/S, M/P, G/U, then
// 1x (rot) R/S, M/P, G/U.
constexpr std::size_t kChartCounters = 2 * kPairCount;
double chartCounter(const StepResult& r, std::size_t i);

// 1, 2 or 5 times a power of ten, at least the rough distance (1 for a
// distance that is not positive).
double niceStep(double rough);

// The value axis: from a multiple of its tick distance (0 for counters) up to
// another when linear; whole decades from at least 0,001 up when logarithmic.
struct ValueAxis {
    bool logarithmic = false;
    double low = 0;
    double high = 1;
    double tick = 1; // distance of the linear axis's labelled ticks
};

// The linear axis from 0 that holds TOP (and at least 1): about TICKS
// labelled ticks above 0, its top the first tick at or above TOP.
ValueAxis linearAxis(double top, int ticks = 5);

// The linear axis from BOTTOM to TOP, either of them below zero: about TICKS
// labelled ticks, both ends on the first tick at or beyond them.
ValueAxis spanAxis(double bottom, double top, int ticks = 5);

// The axis that holds every counter, "Statistisch", the exact mean and its
// band of all STEPS (and at least 1).
ValueAxis fitValueAxis(const std::vector<StepResult>& steps, int steprate, bool logarithmic);

// Where VALUE lies on the axis: 0 at its bottom, 1 at its top. On the
// logarithmic axis a value below its lowest decade (a counter at zero) lies
// on the floor.
double valueFraction(const ValueAxis& axis, double value);

// The grid lines of the value axis from the bottom up: labelled ones at the
// ticks (every decade), unlabelled ones at 2 to 9 times each decade below the
// top one.
struct AxisTick {
    double value = 0;
    bool labelled = false;
};
std::vector<AxisTick> valueTicks(const ValueAxis& axis);

// The values whose labels may be the widest on the axis (with "0").
std::vector<double> widestLabelValues(const ValueAxis& axis);

// The trailing steps where all six counters stand at zero: the first of
// them (1 for the first step), or 0 when the last step has a counter above
// zero or there is no step. The chart keeps them on its axis and says so.
int zeroTailStart(const std::vector<StepResult>& steps);

// The chart's line for those steps, FIRST to LAST: "Steps 11–15: alle Zähler 0".
std::string zeroTailText(int first, int last);

// Where step STEP lies across a chart of COUNT steps, with half a step of
// room either side of the first and the last.
double stepFraction(std::size_t count, double step);

// Every how many steps a label goes when a step is STEP_WIDTH wide and a
// label needs LABEL_WIDTH: 1, 2 or 5 times a power of ten.
int stepLabelSpacing(double stepWidth, double labelWidth);
// The steps up to COUNT that get a label, EVERY steps apart.
std::vector<int> stepLabels(int count, int every);

// The exact mean and its band of two standard deviations either side, which
// never reaches below zero (a count cannot).
struct BandPoint {
    double step = 0;
    double top = 0;
    double bottom = 0;
};
// The outline of the band over all STEPS, one point per step; a single step
// still gets a short bar 0,4 steps wide.
std::vector<BandPoint> expectationBand(const std::vector<StepResult>& steps, int steprate);

// Writes a number the user's way: with FORMAT 'f', PRECISION decimals; with
// 'g', PRECISION significant digits.
using NumberWriter = std::function<std::string(double value, char format, int precision)>;

// What the chart's tool tip says of one counter at one step: its value, the
// exact mean and standard deviation of such a counter, and in percent the
// chance TAIL (0 to 1) of a value at least as far from the mean.
std::string pointInfoText(std::string_view counter, int step, int value, int steprate, double tail,
                          const NumberWriter& number);

// "Statistisch" at STEP of every run at STEPRATE: the step rate at step 1,
// halved (rounded) at each step after.
double statisticAt(int steprate, int step);

// What the chart's tool tip says of the mean of a counter over RUNS runs (0:
// unknown) at STEP: the mean, its standard deviation over the runs, the exact
// mean with σ of one run, and z, the mean's distance from the exact mean in
// standard errors, with how to read it.
std::string meanInfoText(std::string_view counter, int step, double mean, double sd, long long runs,
                         int steprate, const NumberWriter& number);

// How far the mean of a counter over RUNS runs lies from the exact mean at
// STEP, in standard errors σ/√RUNS: z. None where σ or RUNS is 0 (the exact
// law leaves no room to stray, or nothing was measured) or the mean is not
// a number.
std::optional<double> meanDeviation(double mean, long long runs, int steprate, int step);

// The axis for the deviations ZS: all of them and at least −3 to 3, so the
// band of ±2 stands clear of the edges, a labelled tick at every whole z there.
ValueAxis deviationAxis(const std::vector<double>& zs);

// What the chart's tool tip says of the deviation Z of a mean over RUNS runs
// at STEP, with how often |z| over 2 turns up by chance among the points of
// SOURCES sources over STEPS steps.
std::string deviationInfoText(std::string_view name, int step, double z, double mean,
                              long long runs, int steprate, std::size_t sources, std::size_t steps,
                              const NumberWriter& number);

} // namespace cr
