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

void CourseChart::setRuns(const std::vector<Counters>& means, const std::vector<Counters>& sds,
                          int steprate, const QString& heading) {
    // Steps whose counters reach the whiskers' tops, for the value axis.
    std::vector<StepResult> reach(means.size());
    for (std::size_t k = 0; k < means.size(); ++k) {
        reach[k].step = static_cast<int>(k) + 1;
        for (std::size_t i = 0; i < kChartCounters; ++i) {
            const int top = static_cast<int>(std::ceil(means[k][i] + sds[k][i]));
            (i < kPairCount ? reach[k].leer[i] : reach[k].einmal[i - kPairCount]) = top;
        }
    }
    m_means = means;
    m_sds = sds;
    m_heading = heading;
    m_steps = std::move(reach);
    m_steprate = steprate;
    fitValueAxis();
    update();
}

void CourseChart::setRun(std::vector<StepResult> steps, int steprate) {
    m_means.clear();
    m_sds.clear();
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
    m_axis = cr::fitValueAxis(m_steps, m_steprate, m_log);
    m_shown = shownSteps(m_steps);
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
    if (!m_steps.empty()) {
        const auto count = static_cast<qsizetype>(m_steps.size());
        const QString heading =
            !m_means.empty() ? m_heading
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
    if (m_steps.empty()) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(area, Qt::AlignCenter, text(kNoStepYet));
    } else {
        p.save();
        p.setClipRect(area.adjusted(-2, -2, 2, 2));
        drawBand(p, area);
        drawSeries(p, area);
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
    for (const BandPoint& point : expectationBand(m_steps, m_steprate)) {
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

void CourseChart::drawSeries(QPainter& p, const QRectF& area) const {
    const bool marked = m_shown == 1 || xAt(area, 2) - xAt(area, 1) >= 12;
    auto draw = [&](const SeriesLook& look, bool dotted, auto value) {
        QPolygonF line;
        for (const StepResult& r : m_steps) {
            line << QPointF(xAt(area, r.step), yAt(area, value(r)));
        }
        p.setPen(penOf(look));
        p.drawPolyline(line);
        if (marked && dotted) {
            p.setPen(Qt::NoPen);
            p.setBrush(look.colour);
            for (const QPointF& point : line) {
                p.drawEllipse(point, look.width + 1, look.width + 1);
            }
            p.setBrush(Qt::NoBrush);
        }
        if (dotted && m_means.empty() && &look != &kStatisticLook) { // outside the band: a ring
            p.setPen(QPen(look.colour, 1.5));
            for (std::size_t k = 0; k < m_steps.size(); ++k) {
                if (outsideBand(m_steps[k].step, value(m_steps[k]))) {
                    p.drawEllipse(line[static_cast<qsizetype>(k)], 6, 6);
                }
            }
        }
    };
    for (std::size_t i = 0; i < std::size(kCounterLooks); ++i) {
        draw(kCounterLooks[i], true, [this, i](const StepResult& r) {
            return m_means.empty() ? chartCounter(r, i)
                                   : m_means[static_cast<std::size_t>(r.step - 1)][i];
        });
    }
    drawWhiskers(p, area);
    // The exact mean is no measurement: a line without dots, over the counters.
    draw(kMeanLook, m_steps.size() == 1,
         [this](const StepResult& r) { return expectedCount(m_steprate, r.step); });
    if (m_means.empty()) {
        draw(kStatisticLook, true, [](const StepResult& r) { return r.statistisch; });
    }
}

// One standard deviation either side of each mean, the counters side by side.
void CourseChart::drawWhiskers(QPainter& p, const QRectF& area) const {
    const double width = std::min(12.0, (xAt(area, 2) - xAt(area, 1)) * 0.8);
    for (std::size_t k = 0; k < m_means.size(); ++k) {
        for (std::size_t i = 0; i < kChartCounters; ++i) {
            const double offset = (static_cast<double>(i) - 2.5) / 6.0 * width;
            const double x = xAt(area, static_cast<double>(k + 1)) + offset;
            const double mean = m_means[k][i];
            p.setPen(QPen(kCounterLooks[i].colour, 1));
            p.drawLine(QPointF(x, yAt(area, std::max(mean - m_sds[k][i], 0.0))),
                       QPointF(x, yAt(area, mean + m_sds[k][i])));
        }
    }
}

} // namespace cr::ui
