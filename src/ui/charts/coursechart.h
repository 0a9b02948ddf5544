// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/chartlayout.h"
#include "core/evaluation.h"

#include <QWidget>
#include <array>
#include <vector>

class QCheckBox;
class QPolygonF;

namespace cr::ui {

namespace chartstyle {
struct SeriesLook;
}

// What the chart shows of many runs: per step the mean of each counter over
// the runs with its standard deviation, and a heading that says which runs.
struct RunsCourse {
    using Counters = std::array<double, kChartCounters>;
    struct Step {
        Counters mean{};
        Counters sd{};
    };
    std::vector<Step> steps; // step 1 first
    int steprate = 0;
    QString heading;
};

// The course of a run over its completed steps: the six counters,
// "Statistisch", and the exact mean with its band of two standard deviations
// either side, on a linear or a logarithmic value axis. Drawn by hand: a few
// lines and one band need no chart library, and the drawing stays sharp at
// any size and screen scale.
class CourseChart final : public QWidget {
    Q_OBJECT
public:
    explicit CourseChart(QWidget* parent = nullptr);

    void setRun(std::vector<StepResult> steps, int steprate);
    // Many runs instead of one: per step the mean of each counter with a
    // whisker of one standard deviation either side, under the heading.
    void setRuns(RunsCourse runs);
    void setLogarithmic(bool on);
    bool logarithmic() const { return m_log; }
    // The steps of one run; none while many runs are shown.
    const std::vector<StepResult>& steps() const { return m_steps; }
    const RunsCourse& runs() const { return m_runs; }
    int steprate() const { return m_steprate; }

    // Where a step and a value are drawn, in the widget's pixels
    // (core/chartlayout places them in the plot area).
    double xOf(double step) const;
    double yOf(double value) const;

    // What a pointer at pos points to: a counter's value at a step, its
    // exact mean and σ, and how likely a value at least this far from the
    // mean is; empty away from every point (a chart of one run only).
    QString pointInfo(const QPointF& pos) const;
    static QString counterName(std::size_t i);
    // Whether a counter lies outside the exact mean's ±2σ band.
    bool outsideBand(int step, double value) const;

    // The part of the chart in view, LEFT to LEFT + WIDTH in its own pixels
    // (a width of 0: all of it). A chart wider than its scroll area keeps its
    // value axis at the left edge of this part and its legend at the right.
    void setShownPart(int left, int width);
    // Where the value axis with its labels and the legend are drawn.
    QRectF valueAxisRect() const;
    QRectF legendRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void fitValueAxis();
    bool showsRuns() const { return !m_runs.steps.empty(); }
    // What core/chartlayout lays the axes and the band out over: the steps of
    // one run, or of many runs each counter at the top of its whisker.
    std::vector<StepResult> laidOutSteps() const;
    int legendWidth() const;
    QRectF plotArea() const;
    double shownLeft() const;
    double shownRight() const;
    void drawGrid(QPainter& p, const QRectF& area) const;
    void drawValueAxis(QPainter& p, const QRectF& area) const;
    void drawStepAxis(QPainter& p, const QRectF& area) const;
    double xAt(const QRectF& area, double step) const;
    double yAt(const QRectF& area, double value) const;
    void drawBand(QPainter& p, const QRectF& area) const;
    static void drawLine(QPainter& p, const chartstyle::SeriesLook& look, const QPolygonF& line,
                         bool dots);
    void drawSeries(QPainter& p, const QRectF& area) const;
    void drawRunsSeries(QPainter& p, const QRectF& area) const;
    void drawWhiskers(QPainter& p, const QRectF& area) const;
    void drawLegend(QPainter& p, const QRectF& area) const;

    std::vector<StepResult> m_steps;
    RunsCourse m_runs;       // no steps for one run
    std::size_t m_shown = 1; // the steps spread across the width (shownSteps)
    int m_steprate = 0;
    bool m_log = false;
    ValueAxis m_axis;
    int m_shownLeft = 0;
    int m_shownWidth = 0; // 0: the whole width
};

} // namespace cr::ui
