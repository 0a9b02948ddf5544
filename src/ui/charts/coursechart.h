// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/chartlayout.h"
#include "core/evaluation.h"

#include <QColor>
#include <QPen>
#include <QString>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QPolygonF;

namespace cr::ui {

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
    long long runs = 0; // how many; 0 when unknown (then no z for a mean)
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
    // Many runs of several sources (casino tables, say), one counter: per
    // source a line of the deviation z of its means from the exact mean, in
    // standard errors, each in its own colour and named by NAMES (file names;
    // a path is cut to the file name), the line of all sources pooled, the
    // exact mean at z = 0 and the band of ±2. On a common scale a table that
    // strays stands out, which lines of the means themselves, all but on top
    // of each other, do not show. The value axis is always linear here.
    // COUNTER is 0..5 in the order of chartstyle::kCounterLooks.
    void setRunsBySource(RunsCourse pooled, std::vector<RunsCourse> sources,
                         std::vector<QString> names, int counter);
    void setLogarithmic(bool on);
    bool logarithmic() const { return m_log; }
    // The steps of one run; none while many runs are shown.
    const std::vector<StepResult>& steps() const { return m_steps; }
    // Many runs (all sources pooled); no steps while one run is shown.
    const RunsCourse& runs() const { return m_runs; }
    const std::vector<RunsCourse>& sources() const { return m_sources; }
    int steprate() const { return m_steprate; }
    // How many steps the step axis holds: every completed one.
    std::size_t stepCount() const { return m_shown; }
    // The colour of the Nth source's line (a fixed palette, repeated).
    static QColor sourceColour(std::size_t n);

    // The deviation z of the mean of the chosen counter at step index K of
    // COURSE (a source or all of them); none where there is none to draw.
    std::optional<double> deviation(const RunsCourse& course, std::size_t k) const;

    // Where a step and a value are drawn, in the widget's pixels
    // (core/chartlayout places them in the plot area).
    double xOf(double step) const;
    double yOf(double value) const;

    // What a pointer at pos points to: a counter's value at a step, its
    // exact mean and σ, and how likely a value at least this far from the
    // mean is; for many runs the mean, its SD over the runs and its z; by
    // source the z of a source's mean and how to read it.
    // Empty away from every point.
    QString pointInfo(const QPointF& pos) const;
    // The tool tip at pos: the point there, else the legend entry, the band,
    // an axis or the heading explained; empty where there is nothing.
    QString toolTipAt(const QPointF& pos) const;
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
    // The legend's entries from the top, with the rows they take.
    struct LegendEntry {
        enum class Swatch { Line, Band, Whiskers, Ring };
        QString name;
        QString tip;
        Swatch swatch = Swatch::Line;
        QColor colour;
        QPen pen;
    };
    std::vector<LegendEntry> legendEntries() const;
    QRectF legendRow(std::size_t row) const;
    // The steps at the end where every counter is 0, as the chart's line
    // says ("Steps 11–15: alle Zähler 0"); empty when there are none.
    QString zeroTailNote() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    enum class Mode { OneRun, Runs, BySource };
    void fitValueAxis();
    Mode mode() const;
    bool showsRuns() const { return !m_runs.steps.empty(); }
    bool empty() const { return m_steps.empty() && !showsRuns(); }
    // What core/chartlayout lays the axes and the band out over: the steps of
    // one run, or of many runs each counter at the top of its whisker.
    std::vector<StepResult> laidOutSteps() const;
    int legendWidth() const;
    QRectF plotArea() const;
    QRectF headingRect() const;
    double shownLeft() const;
    double shownRight() const;
    bool anyOutsideBand() const;
    void drawHeading(QPainter& p, const QRectF& area) const;
    void drawGrid(QPainter& p, const QRectF& area) const;
    void drawValueAxis(QPainter& p, const QRectF& area) const;
    void drawStepAxis(QPainter& p, const QRectF& area) const;
    double xAt(const QRectF& area, double step) const;
    double yAt(const QRectF& area, double value) const;
    void drawBand(QPainter& p, const QRectF& area) const;
    static void drawLine(QPainter& p, const QPen& pen, const QPolygonF& line, bool dots);
    bool marked(const QRectF& area) const;
    void drawSeries(QPainter& p, const QRectF& area) const;
    void drawRunsSeries(QPainter& p, const QRectF& area) const;
    void drawSourceSeries(QPainter& p, const QRectF& area) const;
    void drawDeviationBand(QPainter& p, const QRectF& area) const;
    QString headingNote() const;
    QString sourcePointInfo(const QPointF& pos) const;
    void drawExpectation(QPainter& p, const QRectF& area, bool statistic) const;
    void drawWhiskers(QPainter& p, const QRectF& area) const;
    void drawLegend(QPainter& p, const QRectF& area) const;
    QString runsPointInfo(const QPointF& pos) const;
    QString elementInfo(const QPointF& pos) const;

    std::vector<StepResult> m_steps;
    RunsCourse m_runs; // no steps for one run; all sources pooled by source
    std::vector<RunsCourse> m_sources;
    std::vector<QString> m_sourceNames;
    int m_sourceCounter = 0;
    std::size_t m_shown = 1; // the steps spread across the width: all of them
    int m_steprate = 0;
    bool m_log = false;
    ValueAxis m_axis;
    int m_shownLeft = 0;
    int m_shownWidth = 0; // 0: the whole width
};

} // namespace cr::ui
