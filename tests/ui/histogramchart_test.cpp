// SPDX-License-Identifier: GPL-3.0-or-later
// The histogram of "Auswertung" as a painted chart: a pair of bars per
// class, and what pointing at a class tells.
#include "analysis/goodness.h"
#include "core/expectation.h"
#include "ui/charts/histogramchart.h"
#include "ui/charts/histogramview.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

using cr::analysis::RunStatistics;
using cr::ui::HistogramView;

// Runs of two steps whose second step leaves Leer R/S at value v in
// perValue[v] runs.
RunStatistics statistics(const std::vector<int>& perValue) {
    RunStatistics stats;
    stats.keepHistograms(true);
    for (std::size_t v = 0; v < perValue.size(); ++v) {
        for (int r = 0; r < perValue[v]; ++r) {
            std::vector<cr::StepResult> run(2);
            run[0].step = 1;
            run[1].step = 2;
            run[1].leer[0] = static_cast<int>(v);
            stats.addRun(run);
        }
    }
    return stats;
}

// How many separate stretches of COLOUR a row of the image crosses.
int stretches(const QImage& image, int y, const QColor& colour) {
    int count = 0;
    bool inside = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool now = image.pixelColor(x, y) == colour;
        count += now && !inside;
        inside = now;
    }
    return count;
}

TEST(HistogramChart, PaintsAPairOfBarsPerClass) {
    const struct {
        int steprate;
        std::vector<int> perValue;
        std::size_t classes; // after pooling to an expected count of five
    } cases[] = {
        {2, {110, 200, 90}, 3},
        // Binomial(8, 0.47) over 900 runs expects about 2 at 8: pooled with 7.
        {8, {100, 100, 100, 100, 100, 100, 100, 100, 100}, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steprate);
        const RunStatistics stats = statistics(c.perValue);
        HistogramView view(nullptr);
        view.resize(640, 300);
        view.setStatistics(&stats, c.steprate);
        view.choose(2, 0);
        const cr::analysis::GoodnessOfFit fit = cr::analysis::binomialFit(
            stats.steps()[1].histogram[0], c.steprate, 2 * cr::fieldChance(2));
        ASSERT_EQ(fit.classes.size(), c.classes);
        cr::ui::HistogramChart& chart = view.chart();
        ASSERT_EQ(chart.classes().size(), c.classes);

        const QImage image = chart.grab().toImage();
        const int justAboveFloor = static_cast<int>(chart.plotArea().bottom()) - 3;
        EXPECT_EQ(stretches(image, justAboveFloor, chart.observedColour()),
                  static_cast<int>(c.classes));
        EXPECT_EQ(stretches(image, justAboveFloor, chart.expectedColour()),
                  static_cast<int>(c.classes));

        // Pointing at the middle of each class's slot names it and its counts.
        const QRectF area = chart.plotArea();
        for (std::size_t i = 0; i < c.classes; ++i) {
            const cr::analysis::HistogramClass& want = fit.classes[i];
            const double x = area.left() + (static_cast<double>(i) + 0.5) /
                                               static_cast<double>(c.classes) * area.width();
            const QString info = chart.classInfo(QPointF(x, area.center().y()));
            EXPECT_TRUE(info.contains(QString::fromStdString(cr::analysis::classLabel(want))))
                << info.toStdString();
            EXPECT_TRUE(info.contains(QStringLiteral("beobachtet %1").arg(want.observed)))
                << info.toStdString();
        }
        EXPECT_TRUE(chart.classInfo(QPointF(area.left() - 5, area.center().y())).isEmpty());
        EXPECT_TRUE(view.text().contains(QStringLiteral("Freiheitsgraden, p = ")));
    }
}

// Before an evaluation, and for a step no run reached, the chart is empty.
TEST(HistogramChart, NothingToShowPaintsNoBars) {
    HistogramView view(nullptr);
    view.resize(640, 300);
    view.setStatistics(nullptr, 37);
    EXPECT_TRUE(view.chart().classes().empty());
    const RunStatistics none;
    view.setStatistics(&none, 37);
    EXPECT_TRUE(view.chart().classes().empty());
    EXPECT_TRUE(view.text().isEmpty());
    const QImage image = view.chart().grab().toImage();
    EXPECT_EQ(stretches(image, static_cast<int>(view.chart().plotArea().bottom()) - 3,
                        view.chart().observedColour()),
              0);
}

// The axes, the legend's entries and the bars tell what they are.
TEST(HistogramChart, EveryPartExplainsItself) {
    const RunStatistics stats = statistics({110, 200, 90});
    HistogramView view(nullptr);
    view.resize(640, 300);
    view.setStatistics(&stats, 2);
    view.choose(2, 0);
    const cr::ui::HistogramChart& chart = view.chart();
    const QRectF area = chart.plotArea();
    const struct {
        QPointF at;
        const char* says;
    } cases[] = {
        {chart.legendEntry(0).center(), "beobachtet: wie viele der L\u00e4ufe"},
        {chart.legendEntry(1).center(), "exakte Gesetz (Binomialverteilung)"},
        {{area.left() / 2, area.center().y()}, "Anzahl L\u00e4ufe: die H\u00f6he einer S\u00e4ule"},
        {{area.center().x(), area.bottom() + 10},
         "Wert des Z\u00e4hlers (Anzahl Felder): wie viele"},
        {{area.left() + area.width() / 6, area.center().y()}, "Leer R/S Wert 0\nbeobachtet 110"},
        {{area.left() + area.width() / 6, area.center().y()}, "rechte, helle S\u00e4ule"},
        {{area.right() - 2, area.top() - 30}, ""},
    };
    for (const auto& c : cases) {
        const QString tip = chart.toolTipAt(c.at);
        EXPECT_TRUE(*c.says ? tip.contains(QString::fromUtf8(c.says)) : tip.isEmpty())
            << c.says << "\n"
            << tip.toStdString();
    }
}

} // namespace
