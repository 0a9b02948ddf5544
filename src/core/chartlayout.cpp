// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/chartlayout.h"

#include "core/expectation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace cr {

namespace {

// The logarithmic axis reaches down to 0,001 at most: far enough for the
// mean of late steps, near enough to keep the counters readable.
constexpr double kLowestDecade = -3;
constexpr double kRounding = 1e-9;

} // namespace

double chartCounter(const StepResult& r, std::size_t i) {
    return i < kPairCount ? r.leer[i] : r.einmal[i - kPairCount];
}

double niceStep(double rough) {
    if (!(rough > 0)) {
        return 1;
    }
    const double decade = std::pow(10.0, std::floor(std::log10(rough)));
    const double f = rough / decade;
    return (f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10) * decade;
}

ValueAxis fitValueAxis(const std::vector<StepResult>& steps, int steprate, bool logarithmic) {
    double top = 1;
    double smallest = std::numeric_limits<double>::infinity();
    auto see = [&top, &smallest](double v) {
        top = std::max(top, v);
        if (v > 0) {
            smallest = std::min(smallest, v);
        }
    };
    for (const StepResult& r : steps) {
        for (std::size_t i = 0; i < kChartCounters; ++i) {
            see(chartCounter(r, i));
        }
        see(r.statistisch);
        const double mean = expectedCount(steprate, r.step);
        const double sigma = expectedSigma(steprate, r.step);
        see(mean);
        see(mean + 2 * sigma);
        see(mean - 2 * sigma);
    }
    ValueAxis axis;
    axis.logarithmic = logarithmic;
    if (logarithmic) {
        const double lowest =
            std::isfinite(smallest) ? std::floor(std::log10(smallest) + kRounding) : 0;
        const double lowDecade = std::max(lowest, kLowestDecade);
        const double highDecade = std::max(std::ceil(std::log10(top) - kRounding), lowDecade + 1);
        axis.low = std::pow(10.0, lowDecade);
        axis.high = std::pow(10.0, highDecade);
    } else {
        axis = linearAxis(top);
    }
    return axis;
}

ValueAxis linearAxis(double top, int ticks) {
    return spanAxis(0, std::max(top, 1.0), ticks);
}

ValueAxis spanAxis(double bottom, double top, int ticks) {
    ValueAxis axis;
    axis.tick = niceStep((top - bottom) / std::max(ticks, 1));
    axis.low = std::floor(bottom / axis.tick + kRounding) * axis.tick;
    axis.high = std::ceil(top / axis.tick - kRounding) * axis.tick;
    if (!(axis.high > axis.low)) { // BOTTOM at TOP: one tick above
        axis.high = axis.low + axis.tick;
    }
    return axis;
}

double valueFraction(const ValueAxis& axis, double value) {
    if (axis.logarithmic) {
        const double v = std::max(value, axis.low);
        return (std::log10(v) - std::log10(axis.low)) /
               (std::log10(axis.high) - std::log10(axis.low));
    }
    return (value - axis.low) / (axis.high - axis.low);
}

std::vector<AxisTick> valueTicks(const ValueAxis& axis) {
    std::vector<AxisTick> ticks;
    if (axis.logarithmic) {
        const int lowDecade = static_cast<int>(std::lround(std::log10(axis.low)));
        const int highDecade = static_cast<int>(std::lround(std::log10(axis.high)));
        for (int e = lowDecade; e <= highDecade; ++e) {
            const double decade = std::pow(10.0, e);
            ticks.push_back({decade, true});
            for (int m = 2; m < 10 && e < highDecade; ++m) {
                ticks.push_back({m * decade, false});
            }
        }
    } else {
        // Whole multiples of the tick, so the tick at zero is 0, not -1e-17.
        const long first = std::lround(axis.low / axis.tick);
        const long last = std::lround(axis.high / axis.tick);
        for (long i = first; i <= last; ++i) {
            ticks.push_back({static_cast<double>(i) * axis.tick, true});
        }
    }
    return ticks;
}

std::vector<double> widestLabelValues(const ValueAxis& axis) {
    if (!axis.logarithmic) {
        return {axis.low, axis.high, axis.tick};
    }
    std::vector<double> values;
    for (double e = std::log10(axis.low); e <= std::log10(axis.high) + kRounding; ++e) {
        values.push_back(std::pow(10.0, e));
    }
    return values;
}

double stepFraction(std::size_t count, double step) {
    const double first = 0.5;
    const double last = static_cast<double>(std::max<std::size_t>(count, 1)) + 0.5;
    return (step - first) / (last - first);
}

int stepLabelSpacing(double stepWidth, double labelWidth) {
    if (!(stepWidth > 0)) {
        return 1;
    }
    return static_cast<int>(std::clamp(niceStep(labelWidth / stepWidth), 1.0, 1e9));
}

std::vector<int> stepLabels(int count, int every) {
    std::vector<int> labels;
    every = std::max(every, 1);
    for (int step = every; step <= count; step += every) {
        labels.push_back(step);
    }
    return labels;
}

std::vector<BandPoint> expectationBand(const std::vector<StepResult>& steps, int steprate) {
    std::vector<BandPoint> band;
    for (const StepResult& r : steps) {
        const double mean = expectedCount(steprate, r.step);
        const double sigma = expectedSigma(steprate, r.step);
        const double top = mean + 2 * sigma;
        const double bottom = std::max(mean - 2 * sigma, 0.0);
        if (steps.size() == 1) {
            band.push_back({r.step - 0.2, top, bottom});
            band.push_back({r.step + 0.2, top, bottom});
        } else {
            band.push_back({static_cast<double>(r.step), top, bottom});
        }
    }
    return band;
}

int zeroTailStart(const std::vector<StepResult>& steps) {
    int first = 0;
    for (auto k = steps.size(); k-- > 0;) {
        for (std::size_t i = 0; i < kChartCounters; ++i) {
            if (chartCounter(steps[k], i) > 0) {
                return first;
            }
        }
        first = steps[k].step;
    }
    return first;
}

std::string zeroTailText(int first, int last) {
    const std::string steps = first == last
                                  ? "Step " + std::to_string(first)
                                  : "Steps " + std::to_string(first) + "–" + std::to_string(last);
    return steps + ": alle Zähler 0";
}

std::string pointInfoText(std::string_view counter, int step, int value, int steprate, double tail,
                          const NumberWriter& number) {
    std::string text(counter);
    text += ", Step " + std::to_string(step) + ": " + std::to_string(value);
    text += "\nErwartungswert " + number(expectedCount(steprate, step), 'f', 2);
    text += ", σ " + number(expectedSigma(steprate, step), 'f', 2);
    // Three digits tell a rare value from a very rare one without false precision.
    text += "\nSo weit oder weiter vom Mittel: " + number(100 * tail, 'g', 3) + " %";
    return text;
}

double statisticAt(int steprate, int step) {
    int statwert = 2 * steprate;
    for (int k = 1; k < step && statwert > 0; ++k) {
        statwert = halvedStatistic(statwert);
    }
    return statwert / 2.0;
}

std::string meanInfoText(std::string_view counter, int step, double mean, double sd, long long runs,
                         int steprate, const NumberWriter& number) {
    std::string text(counter);
    text += ", Step " + std::to_string(step);
    text += runs > 0 ? "\nMittel über " + number(static_cast<double>(runs), 'f', 0) + " Läufe: "
                     : std::string("\nMittel über die Läufe: ");
    text += number(mean, 'f', 2) + ", SD über die Läufe " + number(sd, 'f', 2);
    const double expected = expectedCount(steprate, step);
    const double sigma = expectedSigma(steprate, step);
    text += "\nErwartungswert " + number(expected, 'f', 2) + ", σ eines Laufes " +
            number(sigma, 'f', 2);
    if (const std::optional<double> z = meanDeviation(mean, runs, steprate, step)) {
        text += "\nz = " + number(*z, 'f', 2) +
                ": Abstand des Mittels vom Erwartungswert in σ/√Läufe."
                "\n|z| über 2 kommt bei reinem Zufall in etwa 1 von 22 Fällen vor.";
    }
    return text;
}

std::optional<double> meanDeviation(double mean, long long runs, int steprate, int step) {
    const double sigma = expectedSigma(steprate, step);
    if (runs <= 0 || !(sigma > 0) || !std::isfinite(mean)) {
        return std::nullopt;
    }
    return (mean - expectedCount(steprate, step)) / (sigma / std::sqrt(static_cast<double>(runs)));
}

ValueAxis deviationAxis(const std::vector<double>& zs) {
    double bottom = -3;
    double top = 3;
    for (double z : zs) {
        if (std::isfinite(z)) {
            bottom = std::min(bottom, z);
            top = std::max(top, z);
        }
    }
    return spanAxis(bottom, top, 6);
}

std::string deviationInfoText(std::string_view name, int step, double z, double mean,
                              long long runs, int steprate, std::size_t sources, std::size_t steps,
                              const NumberWriter& number) {
    // P(|Z| > 2) of the normal law, which the mean of many runs follows.
    constexpr double kBeyondTwo = 0.0455;
    auto counted = [](std::size_t n, const char* one, const char* many) {
        return n == 1 ? "1 " + std::string(one) : std::to_string(n) + " " + many;
    };
    std::string text(name);
    text += ", Step " + std::to_string(step) + ": z = " + number(z, 'f', 2);
    text += "\nMittel über " + number(static_cast<double>(runs), 'f', 0) +
            " Läufe: " + number(mean, 'f', 2) + ", exaktes Mittel " +
            number(expectedCount(steprate, step), 'f', 2) + ", Standardfehler σ/√Läufe " +
            number(expectedSigma(steprate, step) / std::sqrt(static_cast<double>(runs)), 'f', 3);
    text += z >= 0
                ? "\nDas Mittel liegt " + number(z, 'f', 2) + " Standardfehler über dem exakten."
                : "\nDas Mittel liegt " + number(-z, 'f', 2) + " Standardfehler unter dem exakten.";
    const std::size_t points = sources * steps;
    text += " |z| über 2 kommt bei reinem Zufall in etwa 1 von 22 Fällen vor; bei " +
            counted(sources, "Quelle", "Quellen") + " und " + counted(steps, "Step", "Steps") +
            " (" + counted(points, "Punkt", "Punkte") + ") also im Mittel etwa " +
            number(kBeyondTwo * static_cast<double>(points), 'f', 1) + "-mal.";
    return text;
}

} // namespace cr
