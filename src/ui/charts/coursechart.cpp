// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/charts/coursechart.h"

#include "core/chartlayout.h"
#include "core/expectation.h"
#include "ui/charts/chartstyle.h"

#include <QFileInfo>
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

void CourseChart::setRun(std::vector<StepResult> steps, int steprate) {
    m_runs = {};
    m_sources.clear();
    m_sourceNames.clear();
    m_steps = std::move(steps);
    m_steprate = steprate;
    fitValueAxis();
    update();
}

void CourseChart::setRuns(RunsCourse runs) {
    m_steps.clear();
    m_sources.clear();
    m_sourceNames.clear();
    m_steprate = runs.steprate;
    m_runs = std::move(runs);
    fitValueAxis();
    update();
}

void CourseChart::setRunsBySource(RunsCourse pooled, std::vector<RunsCourse> sources,
                                  std::vector<QString> names, int counter) {
    m_steps.clear();
    m_steprate = pooled.steprate;
    m_runs = std::move(pooled);
    m_sources = std::move(sources);
    m_sourceNames.clear();
    for (std::size_t n = 0; n < m_sources.size(); ++n) {
        m_sourceNames.push_back(n < names.size() ? QFileInfo(names[n]).fileName()
                                                 : QStringLiteral("Quelle %1").arg(n + 1));
    }
    m_sourceCounter = std::clamp(counter, 0, static_cast<int>(kChartCounters) - 1);
    fitValueAxis();
    update();
}

CourseChart::Mode CourseChart::mode() const {
    if (!showsRuns()) {
        return Mode::OneRun;
    }
    return m_sources.empty() ? Mode::Runs : Mode::BySource;
}

// Fixed, so a table keeps its colour from one evaluation to the next; none
// of them is a counter's hue or the grey of the exact mean.
QColor CourseChart::sourceColour(std::size_t n) {
    static const QColor palette[] = {
        QColor(140, 90, 40),  QColor(225, 80, 160), QColor(120, 125, 0),  QColor(20, 30, 120),
        QColor(110, 200, 40), QColor(200, 170, 0),  QColor(90, 120, 140), QColor(120, 20, 60),
    };
    return palette[n % std::size(palette)];
}

std::vector<StepResult> CourseChart::laidOutSteps() const {
    if (!showsRuns()) {
        return m_steps;
    }
    auto top = [](const RunsCourse::Step& step, std::size_t i) {
        return static_cast<int>(std::ceil(step.mean[i] + step.sd[i]));
    };
    auto set = [](StepResult& r, std::size_t i, int value) {
        int& at = i < kPairCount ? r.leer[i] : r.einmal[i - kPairCount];
        at = std::max(at, value);
    };
    std::size_t count = m_runs.steps.size();
    for (const RunsCourse& source : m_sources) {
        count = std::max(count, source.steps.size());
    }
    // By source only the steps count: the value axis holds deviations.
    std::vector<StepResult> tops(count);
    for (std::size_t k = 0; k < tops.size(); ++k) {
        tops[k].step = static_cast<int>(k) + 1;
        if (mode() == Mode::Runs) {
            tops[k].statistisch = statisticAt(m_steprate, tops[k].step);
            for (std::size_t i = 0; i < kChartCounters; ++i) {
                set(tops[k], i, top(m_runs.steps[k], i));
            }
        }
    }
    return tops;
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

// Every completed step keeps its place on the axis, however many trailing
// steps stand at zero: the user asked for them and zooms to see them.
void CourseChart::fitValueAxis() {
    const std::vector<StepResult> steps = laidOutSteps();
    m_shown = std::max<std::size_t>(steps.size(), 1);
    if (mode() != Mode::BySource) {
        m_axis = cr::fitValueAxis(steps, m_steprate, m_log);
        return;
    }
    std::vector<double> zs;
    auto collect = [this, &zs](const RunsCourse& course) {
        for (std::size_t k = 0; k < course.steps.size(); ++k) {
            if (const std::optional<double> z = deviation(course, k)) {
                zs.push_back(*z);
            }
        }
    };
    collect(m_runs);
    for (const RunsCourse& source : m_sources) {
        collect(source);
    }
    m_axis = deviationAxis(zs);
}

std::optional<double> CourseChart::deviation(const RunsCourse& course, std::size_t k) const {
    if (k >= course.steps.size()) {
        return std::nullopt;
    }
    const double mean = course.steps[k].mean[static_cast<std::size_t>(m_sourceCounter)];
    return meanDeviation(mean, course.runs, m_steprate, static_cast<int>(k) + 1);
}

QString CourseChart::zeroTailNote() const {
    if (mode() == Mode::BySource) {
        return {};
    }
    const std::vector<StepResult> steps = laidOutSteps();
    const int first = zeroTailStart(steps);
    return first > 0 ? QString::fromStdString(zeroTailText(first, steps.back().step)) : QString();
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

    drawGrid(p, area);
    drawStepAxis(p, area);
    if (empty()) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(area, Qt::AlignCenter, text(kNoStepYet));
    } else {
        p.save();
        p.setClipRect(area.adjusted(-2, -2, 2, 2));
        drawBand(p, area);
        switch (mode()) {
        case Mode::OneRun:
            drawSeries(p, area);
            break;
        case Mode::Runs:
            drawRunsSeries(p, area);
            break;
        case Mode::BySource:
            drawSourceSeries(p, area);
            break;
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
    drawHeading(p, area);
}

// The heading, and after it in plain weight what the axis holds without a
// line to show: the trailing steps at zero.
QRectF CourseChart::headingRect() const {
    const QFontMetrics metrics(font());
    const double left = shownLeft() + plotArea().left();
    return {left, 0, std::max(legendRect().left() - left, 0.0), 2.0 * metrics.height()};
}

void CourseChart::drawHeading(QPainter& p, const QRectF& /*area*/) const {
    if (empty()) {
        return;
    }
    const QFontMetrics metrics(font());
    const auto count = static_cast<qsizetype>(m_steps.size());
    const QString heading = showsRuns()
                                ? m_runs.heading
                                : text(kHeading)
                                      .arg(m_steprate)
                                      .arg(count == 1 ? text(kOneStep) : text(kSteps).arg(count));
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(palette().color(QPalette::WindowText));
    const QRectF box = headingRect();
    const QPointF at(box.left(), metrics.height() * 1.25);
    p.drawText(at, heading);
    const double after = QFontMetrics(bold).horizontalAdvance(heading);
    p.setFont(font());
    const QString note = headingNote();
    if (!note.isEmpty()) {
        p.drawText(at + QPointF(after, 0), QStringLiteral("  \u00b7  ") + note);
    }
}

// By source the logarithmic switch does nothing, and the chart says why.
QString CourseChart::headingNote() const {
    if (mode() == Mode::BySource) {
        return m_log ? linearOnlyNote() : QString();
    }
    return zeroTailNote();
}

void CourseChart::drawStepAxis(QPainter& p, const QRectF& area) const {
    const QFontMetrics metrics(font());
    p.setPen(palette().color(QPalette::WindowText));
    // As many labels as leave room between them, at any zoom.
    const int count = static_cast<int>(m_shown);
    const double room = metrics.horizontalAdvance(QString::number(count)) + 3 * kSpacing;
    for (int step : stepLabels(count, stepLabelSpacing(xAt(area, 2) - xAt(area, 1), room))) {
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
