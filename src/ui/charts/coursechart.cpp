// SPDX-License-Identifier: GPL-3.0-or-later
// The course chart: what it shows (one run, many runs, or one counter by
// source), the axes fitted to that, where a value lies, and the order it is
// painted in. The plot is in courselines.cpp, the axes and the legend in
// coursechartedges.cpp, the tool tips in coursehover.cpp.
#include "ui/charts/coursechart.h"

#include "core/chartlayout.h"
#include "ui/charts/chartstyle.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace cr::ui {

namespace {

using namespace chartstyle;

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

} // namespace cr::ui
