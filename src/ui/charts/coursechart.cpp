// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/charts/coursechart.h"

#include "core/chartlayout.h"
#include "core/expectation.h"
#include "ui/charts/chartstyle.h"

#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace cr::ui {

namespace {

using namespace chartstyle;

const char* const kStepAxisTitle = "Step";
const char* const kNoStepYet = "Noch kein Step abgeschlossen";
const char* const kHeading = "Step-Rate %1, %2 abgeschlossen";
const char* const kOneStep = "1 Step";
const char* const kSteps = "%1 Steps";

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

CourseChart::CourseChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("verlaufchart"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    fitValueAxis();
}

void CourseChart::setRuns(RunsCourse runs) {
    m_steps.clear();
    m_steprate = runs.steprate;
    m_runs = std::move(runs);
    fitValueAxis();
    update();
}

std::vector<StepResult> CourseChart::laidOutSteps() const {
    if (!showsRuns()) {
        return m_steps;
    }
    std::vector<StepResult> tops(m_runs.steps.size());
    for (std::size_t k = 0; k < tops.size(); ++k) {
        tops[k].step = static_cast<int>(k) + 1;
        const RunsCourse::Step& step = m_runs.steps[k];
        for (std::size_t i = 0; i < kChartCounters; ++i) {
            const int top = static_cast<int>(std::ceil(step.mean[i] + step.sd[i]));
            (i < kPairCount ? tops[k].leer[i] : tops[k].einmal[i - kPairCount]) = top;
        }
    }
    return tops;
}

void CourseChart::setRun(std::vector<StepResult> steps, int steprate) {
    m_runs = {};
    m_steps = std::move(steps);
    m_steprate = steprate;
    fitValueAxis();
    update();
}

QString CourseChart::counterName(std::size_t i) {
    return text(kCounterLooks[i].name);
}

void CourseChart::setLogarithmic(bool on) {
    m_log = on;
    fitValueAxis();
    update();
}

QSize CourseChart::sizeHint() const {
    return {600, 400};
}

QSize CourseChart::minimumSizeHint() const {
    return {420, 280};
}

void CourseChart::fitValueAxis() {
    const std::vector<StepResult> steps = laidOutSteps();
    m_axis = cr::fitValueAxis(steps, m_steprate, m_log);
    m_shown = shownSteps(steps);
}

double CourseChart::xOf(double step) const {
    return xAt(plotArea(), step);
}

double CourseChart::yOf(double value) const {
    return yAt(plotArea(), value);
}

double CourseChart::xAt(const QRectF& area, double step) const {
    return area.left() + stepFraction(m_shown, step) * area.width();
}

double CourseChart::yAt(const QRectF& area, double value) const {
    return area.bottom() - valueFraction(m_axis, value) * area.height();
}

int CourseChart::legendWidth() const {
    const QFontMetrics metrics(font());
    int widest = metrics.horizontalAdvance(text(kBandName));
    for (const SeriesLook& look : kCounterLooks) {
        widest = std::max(widest, metrics.horizontalAdvance(text(look.name)));
    }
    for (const SeriesLook* look : {&kStatisticLook, &kMeanLook}) {
        widest = std::max(widest, metrics.horizontalAdvance(text(look->name)));
    }
    return kLegendSwatch + widest + 3 * kSpacing;
}

QRectF CourseChart::plotArea() const {
    const QFontMetrics metrics(font());
    const double left = valueAxisMargin(metrics, m_axis);
    const double top = 2.0 * metrics.height();
    const double right = legendWidth() + 2 * kSpacing;
    const double bottom = 2.0 * metrics.height() + 2 * kSpacing;
    return {left, top, std::max(width() - left - right, 10.0),
            std::max(height() - top - bottom, 10.0)};
}

void CourseChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRectF area = plotArea();
    p.fillRect(area, Qt::white);
    p.setRenderHint(QPainter::Antialiasing);

    const QFontMetrics metrics(font());
    if (!m_steps.empty() || showsRuns()) {
        const auto count = static_cast<qsizetype>(m_steps.size());
        const QString heading =
            showsRuns() ? m_runs.heading
                        : text(kHeading)
                              .arg(m_steprate)
                              .arg(count == 1 ? text(kOneStep) : text(kSteps).arg(count));
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QPointF(shownLeft() + area.left(), metrics.height() * 1.25), heading);
        p.setFont(font());
    }

    drawGrid(p, area);
    drawStepAxis(p, area);
    if (m_steps.empty() && !showsRuns()) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(area, Qt::AlignCenter, text(kNoStepYet));
    } else {
        p.save();
        p.setClipRect(area.adjusted(-2, -2, 2, 2));
        drawBand(p, area);
        if (showsRuns()) {
            drawRunsSeries(p, area);
        } else {
            drawSeries(p, area);
        }
        p.restore();
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);
    drawValueAxis(p, area);
    p.setRenderHint(QPainter::Antialiasing);
    drawLegend(p, area);
}

void CourseChart::drawStepAxis(QPainter& p, const QRectF& area) const {
    const QFontMetrics metrics(font());
    p.setPen(palette().color(QPalette::WindowText));
    for (int step : stepLabels(static_cast<int>(m_shown))) {
        const double x = xAt(area, step);
        p.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 4));
        const QString label = QString::number(step);
        p.drawText(QRectF(x - 40, area.bottom() + 4, 80, metrics.height()), Qt::AlignHCenter,
                   label);
    }
    const QString title = text(kStepAxisTitle);
    const double left = std::max(area.left(), shownLeft() + area.left());
    const double right = std::min(area.right(), legendRect().left() - kSpacing);
    p.drawText(QRectF(left, area.bottom() + 6 + metrics.height(), std::max(right - left, 0.0),
                      metrics.height() + kSpacing),
               Qt::AlignHCenter | Qt::AlignVCenter, title);
}

void CourseChart::drawBand(QPainter& p, const QRectF& area) const {
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

// A series' line in its look, with a dot at each point when asked.
void CourseChart::drawLine(QPainter& p, const SeriesLook& look, const QPolygonF& line, bool dots) {
    p.setPen(penOf(look));
    p.drawPolyline(line);
    if (dots) {
        p.setPen(Qt::NoPen);
        p.setBrush(look.colour);
        for (const QPointF& point : line) {
            p.drawEllipse(point, look.width + 1, look.width + 1);
        }
        p.setBrush(Qt::NoBrush);
    }
}

void CourseChart::drawSeries(QPainter& p, const QRectF& area) const {
    const bool marked = m_shown == 1 || xAt(area, 2) - xAt(area, 1) >= 12;
    auto draw = [&](const SeriesLook& look, bool dotted, auto value) {
        QPolygonF line;
        for (const StepResult& r : m_steps) {
            line << QPointF(xAt(area, r.step), yAt(area, value(r)));
        }
        drawLine(p, look, line, marked && dotted);
        if (dotted && &look != &kStatisticLook) { // outside the band: a ring
            p.setPen(QPen(look.colour, 1.5));
            for (std::size_t k = 0; k < m_steps.size(); ++k) {
                if (outsideBand(m_steps[k].step, value(m_steps[k]))) {
                    p.drawEllipse(line[static_cast<qsizetype>(k)], 6, 6);
                }
            }
        }
    };
    for (std::size_t i = 0; i < std::size(kCounterLooks); ++i) {
        draw(kCounterLooks[i], true, [i](const StepResult& r) { return chartCounter(r, i); });
    }
    // The exact mean is no measurement: a line without dots, over the counters.
    draw(kMeanLook, m_steps.size() == 1,
         [this](const StepResult& r) { return expectedCount(m_steprate, r.step); });
    draw(kStatisticLook, true, [](const StepResult& r) { return r.statistisch; });
}

// Each counter's means as a line with a dot a step, their whiskers, and the
// exact mean over them.
void CourseChart::drawRunsSeries(QPainter& p, const QRectF& area) const {
    const std::size_t count = m_runs.steps.size();
    const bool marked = m_shown == 1 || xAt(area, 2) - xAt(area, 1) >= 12;
    auto draw = [&](const SeriesLook& look, bool dotted, auto value) {
        QPolygonF line;
        for (std::size_t k = 0; k < count; ++k) {
            line << QPointF(xAt(area, static_cast<double>(k + 1)), yAt(area, value(k)));
        }
        drawLine(p, look, line, marked && dotted);
    };
    for (std::size_t i = 0; i < std::size(kCounterLooks); ++i) {
        draw(kCounterLooks[i], true, [this, i](std::size_t k) { return m_runs.steps[k].mean[i]; });
    }
    drawWhiskers(p, area);
    draw(kMeanLook, count == 1,
         [this](std::size_t k) { return expectedCount(m_steprate, static_cast<int>(k) + 1); });
}

// One standard deviation either side of each mean, the counters side by side.
void CourseChart::drawWhiskers(QPainter& p, const QRectF& area) const {
    const double width = std::min(12.0, (xAt(area, 2) - xAt(area, 1)) * 0.8);
    for (std::size_t k = 0; k < m_runs.steps.size(); ++k) {
        const RunsCourse::Step& step = m_runs.steps[k];
        for (std::size_t i = 0; i < kChartCounters; ++i) {
            const double offset = (static_cast<double>(i) - 2.5) / 6.0 * width;
            const double x = xAt(area, static_cast<double>(k + 1)) + offset;
            const double mean = step.mean[i];
            p.setPen(QPen(kCounterLooks[i].colour, 1));
            p.drawLine(QPointF(x, yAt(area, std::max(mean - step.sd[i], 0.0))),
                       QPointF(x, yAt(area, mean + step.sd[i])));
        }
    }
}

} // namespace cr::ui
