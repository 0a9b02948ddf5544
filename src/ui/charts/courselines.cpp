// SPDX-License-Identifier: GPL-3.0-or-later
// The course chart's plot: the band of the exact expectation, the
// counters' lines with their rings and whiskers, the exact mean and
// "Statistisch", and by source a line of deviations z per table.
#include "core/chartlayout.h"
#include "core/expectation.h"
#include "ui/charts/chartstyle.h"
#include "ui/charts/coursechart.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace cr::ui {

namespace {

using namespace chartstyle;

} // namespace

void CourseChart::drawBand(QPainter& p, const QRectF& area) const {
    if (mode() == Mode::BySource) {
        drawDeviationBand(p, area);
        return;
    }
    QPolygonF upper;
    QPolygonF lower;
    for (const BandPoint& point : expectationBand(laidOutSteps(), m_steprate)) {
        upper << QPointF(xAt(area, point.step), yAt(area, point.top));
        lower << QPointF(xAt(area, point.step), yAt(area, point.bottom));
    }
    std::reverse(lower.begin(), lower.end());
    upper += lower;
    p.setPen(Qt::NoPen);
    p.setBrush(kBandColour);
    p.drawPolygon(upper);
    p.setBrush(Qt::NoBrush);
}

// A series' line in its pen, with a dot at each point when asked.
void CourseChart::drawLine(QPainter& p, const QPen& pen, const QPolygonF& line, bool dots) {
    p.setPen(pen);
    p.drawPolyline(line);
    if (dots) {
        p.setPen(Qt::NoPen);
        p.setBrush(pen.color());
        for (const QPointF& point : line) {
            p.drawEllipse(point, pen.widthF() + 1, pen.widthF() + 1);
        }
        p.setBrush(Qt::NoBrush);
    }
}

// Dots on the lines where the steps lie far enough apart to tell them.
bool CourseChart::marked(const QRectF& area) const {
    return m_shown == 1 || xAt(area, 2) - xAt(area, 1) >= 12;
}

void CourseChart::drawSeries(QPainter& p, const QRectF& area) const {
    const bool dots = marked(area);
    for (std::size_t i = 0; i < std::size(kCounterLooks); ++i) {
        const SeriesLook& look = kCounterLooks[i];
        QPolygonF line;
        for (const StepResult& r : m_steps) {
            line << QPointF(xAt(area, r.step), yAt(area, chartCounter(r, i)));
        }
        drawLine(p, penOf(look), line, dots);
        p.setPen(QPen(look.colour, 1.5)); // outside the band: a ring
        for (std::size_t k = 0; k < m_steps.size(); ++k) {
            if (outsideBand(m_steps[k].step, chartCounter(m_steps[k], i))) {
                p.drawEllipse(line[static_cast<qsizetype>(k)], 6, 6);
            }
        }
    }
    drawExpectation(p, area, true);
}

// The exact mean, no measurement: a line without dots over the counters;
// "Statistisch", the same in every run, over it.
void CourseChart::drawExpectation(QPainter& p, const QRectF& area, bool statistic) const {
    const std::vector<StepResult> steps = laidOutSteps();
    QPolygonF mean;
    QPolygonF rule;
    for (const StepResult& r : steps) {
        const double x = xAt(area, r.step);
        mean << QPointF(x, yAt(area, expectedCount(m_steprate, r.step)));
        rule << QPointF(x, yAt(area, r.statistisch));
    }
    drawLine(p, penOf(kMeanLook), mean, steps.size() == 1);
    if (statistic) {
        drawLine(p, penOf(kStatisticLook), rule, marked(area));
    }
}

// Each counter's means as a line with a dot a step over their whiskers, the
// exact mean and "Statistisch": over many runs the means come close to the
// exact mean, and drawn last they stay in sight.
void CourseChart::drawRunsSeries(QPainter& p, const QRectF& area) const {
    drawWhiskers(p, area);
    drawExpectation(p, area, true);
    const bool dots = marked(area);
    for (std::size_t i = 0; i < std::size(kCounterLooks); ++i) {
        QPolygonF line;
        for (std::size_t k = 0; k < m_runs.steps.size(); ++k) {
            line << QPointF(xAt(area, static_cast<double>(k + 1)),
                            yAt(area, m_runs.steps[k].mean[i]));
        }
        drawLine(p, penOf(kCounterLooks[i]), line, dots);
    }
}

// One standard deviation either side of each mean, the counters side by side.
void CourseChart::drawWhiskers(QPainter& p, const QRectF& area) const {
    const double width = std::min(12.0, (xAt(area, 2) - xAt(area, 1)) * 0.8);
    for (std::size_t k = 0; k < m_runs.steps.size(); ++k) {
        const RunsCourse::Step& step = m_runs.steps[k];
        for (std::size_t i = 0; i < kChartCounters; ++i) {
            const double offset = (static_cast<double>(i) - 2.5) / 6.0 * width;
            // On a pixel's middle: a thin line in its full colour.
            const double x = std::round(xAt(area, static_cast<double>(k + 1)) + offset) + 0.5;
            const double mean = step.mean[i];
            p.setPen(QPen(kCounterLooks[i].colour, 1));
            p.drawLine(QPointF(x, yAt(area, std::max(mean - step.sd[i], 0.0))),
                       QPointF(x, yAt(area, mean + step.sd[i])));
        }
    }
}

// The same z in every step: ±2 across the whole plot.
void CourseChart::drawDeviationBand(QPainter& p, const QRectF& area) const {
    p.fillRect(QRectF(QPointF(area.left(), yAt(area, 2)), QPointF(area.right(), yAt(area, -2))),
               kBandColour);
}

// The chosen counter's deviation z: the exact mean at 0 beneath, a thin line
// per source, the pooled one in the counter's own look over them. A step
// without a z breaks the line.
void CourseChart::drawSourceSeries(QPainter& p, const QRectF& area) const {
    const bool dots = marked(area);
    const double zero = yAt(area, 0);
    p.setPen(penOf(kMeanLook));
    p.drawLine(QPointF(area.left(), zero), QPointF(area.right(), zero));
    auto draw = [&](const RunsCourse& course, const QPen& pen) {
        QPolygonF piece;
        auto flush = [&] {
            // A point alone between gaps gets its dot, or it would not show.
            drawLine(p, pen, piece, dots || piece.size() == 1);
            piece.clear();
        };
        for (std::size_t k = 0; k < course.steps.size(); ++k) {
            if (const std::optional<double> z = deviation(course, k)) {
                piece << QPointF(xAt(area, static_cast<double>(k + 1)), yAt(area, *z));
            } else if (!piece.isEmpty()) {
                flush();
            }
        }
        if (!piece.isEmpty()) {
            flush();
        }
    };
    for (std::size_t n = 0; n < m_sources.size(); ++n) {
        draw(m_sources[n], QPen(sourceColour(n), 1.4));
    }
    QPen pooled = penOf(kCounterLooks[static_cast<std::size_t>(m_sourceCounter)]);
    pooled.setWidthF(2.4);
    draw(m_runs, pooled);
}

} // namespace cr::ui
