// SPDX-License-Identifier: GPL-3.0-or-later
// "Is this normal?": what the course chart tells about the point under the
// pointer, the points it rings for lying outside the band, and what every
// other part of it means.
#include "analysis/goodness.h"
#include "core/chartlayout.h"
#include "core/expectation.h"
#include "ui/charts/chartstyle.h"
#include "ui/charts/coursechart.h"

#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QTextDocument>
#include <QToolTip>
#include <cmath>

namespace cr::ui {

namespace {

using namespace chartstyle;

constexpr double kReach = 6; // pixels from a point that still point at it

// Numbers the user's way, for core/chartlayout's texts.
NumberWriter localNumbers() {
    return [](double v, char format, int precision) {
        return QLocale().toString(v, format, precision).toStdString();
    };
}

} // namespace

bool CourseChart::outsideBand(int step, double value) const {
    const double mean = expectedCount(m_steprate, step);
    return std::abs(value - mean) > 2 * expectedSigma(m_steprate, step);
}

bool CourseChart::anyOutsideBand() const {
    for (const StepResult& r : m_steps) {
        for (std::size_t i = 0; i < kChartCounters; ++i) {
            if (outsideBand(r.step, chartCounter(r, i))) {
                return true;
            }
        }
    }
    return false;
}

QString CourseChart::pointInfo(const QPointF& pos) const {
    // Nothing under the value axis or the legend, which a scrolled chart
    // draws over its points.
    if (pos.x() < valueAxisRect().right() || pos.x() > legendRect().left()) {
        return {};
    }
    if (mode() == Mode::BySource) {
        return sourcePointInfo(pos);
    }
    if (showsRuns()) {
        return runsPointInfo(pos);
    }
    double nearest = kReach;
    const StepResult* hit = nullptr;
    std::size_t counter = 0;
    for (const StepResult& r : m_steps) {
        for (std::size_t i = 0; i < kChartCounters; ++i) {
            const double d = std::hypot(xOf(r.step) - pos.x(), yOf(chartCounter(r, i)) - pos.y());
            if (d <= nearest) {
                nearest = d;
                hit = &r;
                counter = i;
            }
        }
    }
    if (!hit) {
        return {};
    }
    // Counters at the same value share the point: all of them are named.
    const auto value = static_cast<int>(chartCounter(*hit, counter));
    QStringList names;
    for (std::size_t i = 0; i < kChartCounters; ++i) {
        if (chartCounter(*hit, i) == value) {
            names << counterName(i);
        }
    }
    const double chance = analysis::atLeastAsFar(m_steprate, 2 * fieldChance(hit->step), value);
    return QString::fromStdString(pointInfoText(names.join(QStringLiteral(", ")).toStdString(),
                                                hit->step, value, m_steprate, chance,
                                                localNumbers()));
}

// The nearest mean of a counter within reach.
QString CourseChart::runsPointInfo(const QPointF& pos) const {
    double nearest = kReach;
    std::size_t step = 0;
    std::optional<std::size_t> counter;
    for (std::size_t i = 0; i < kChartCounters; ++i) {
        for (std::size_t k = 0; k < m_runs.steps.size(); ++k) {
            const double d = std::hypot(xOf(static_cast<double>(k + 1)) - pos.x(),
                                        yOf(m_runs.steps[k].mean[i]) - pos.y());
            if (d <= nearest) {
                nearest = d;
                step = k;
                counter = i;
            }
        }
    }
    if (!counter) {
        return {};
    }
    const RunsCourse::Step& at = m_runs.steps[step];
    return QString::fromStdString(
        meanInfoText(counterName(*counter).toStdString(), static_cast<int>(step) + 1,
                     at.mean[*counter], at.sd[*counter], m_runs.runs, m_steprate, localNumbers()));
}

// By source: the nearest deviation of a source (or of all) within reach.
QString CourseChart::sourcePointInfo(const QPointF& pos) const {
    const QString counter = counterName(static_cast<std::size_t>(m_sourceCounter));
    struct Hit {
        const RunsCourse* course = nullptr;
        QString name;
        std::size_t step = 0;
        double z = 0;
    } hit;
    double nearest = kReach;
    auto look = [&](const RunsCourse& course, const QString& name) {
        for (std::size_t k = 0; k < course.steps.size(); ++k) {
            const std::optional<double> z = deviation(course, k);
            if (!z) {
                continue;
            }
            const double d =
                std::hypot(xOf(static_cast<double>(k + 1)) - pos.x(), yOf(*z) - pos.y());
            if (d <= nearest) {
                nearest = d;
                hit = {&course, name, k, *z};
            }
        }
    };
    for (std::size_t n = 0; n < m_sources.size(); ++n) {
        look(m_sources[n], m_sourceNames[n] + QStringLiteral(", ") + counter);
    }
    look(m_runs, counter + QStringLiteral(", alle Quellen")); // drawn on top
    if (!hit.course) {
        return {};
    }
    const double mean = hit.course->steps[hit.step].mean[static_cast<std::size_t>(m_sourceCounter)];
    return QString::fromStdString(
        deviationInfoText(hit.name.toStdString(), static_cast<int>(hit.step) + 1, hit.z, mean,
                          hit.course->runs, m_steprate, m_sources.size(), m_shown, localNumbers()));
}

// What the parts of the chart around the points mean.
QString CourseChart::elementInfo(const QPointF& pos) const {
    const std::vector<LegendEntry> entries = legendEntries();
    if (pos.x() >= legendRect().left()) {
        for (std::size_t n = 0; n < entries.size(); ++n) {
            if (legendRow(n).contains(pos)) {
                return entries[n].tip;
            }
        }
        return {};
    }
    const QRectF area = plotArea();
    if (pos.x() < valueAxisRect().right()) {
        if (pos.y() < area.top() || pos.y() > area.bottom()) {
            return {};
        }
        return mode() == Mode::BySource ? deviationAxisTip() : valueAxisTip(showsRuns(), m_log);
    }
    if (pos.y() > area.bottom()) {
        return stepAxisTip();
    }
    if (pos.y() < area.top()) {
        const QString note = headingNote();
        if (note.isEmpty() || empty()) {
            return {};
        }
        return mode() == Mode::BySource ? linearOnlyTip() : zeroTailTip(note);
    }
    if (empty()) {
        return {};
    }
    if (mode() == Mode::BySource) {
        if (std::abs(pos.y() - yOf(0)) <= 3) {
            return zeroLineTip();
        }
        return pos.y() >= yOf(2) && pos.y() <= yOf(-2) ? deviationBandTip() : QString();
    }
    // Inside the band: the step's band, the nearer step's where two join.
    const double step =
        std::round(0.5 + (pos.x() - area.left()) / area.width() * static_cast<double>(m_shown));
    if (step >= 1 && step <= static_cast<double>(m_shown)) {
        const auto k = static_cast<int>(step);
        const double mean = expectedCount(m_steprate, k);
        const double sigma = expectedSigma(m_steprate, k);
        if (pos.y() <= yOf(std::max(mean - 2 * sigma, 0.0)) && pos.y() >= yOf(mean + 2 * sigma)) {
            return bandTip();
        }
    }
    return {};
}

QString CourseChart::toolTipAt(const QPointF& pos) const {
    const QString point = pointInfo(pos);
    return point.isEmpty() ? elementInfo(pos) : point;
}

bool CourseChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        answerToolTip(event, this, toolTipAt(help->pos()));
        return true;
    }
    return QWidget::event(event);
}

// The points answer at once, as the pointer passes; the rest of the chart
// after the usual pause (event).
void CourseChart::mouseMoveEvent(QMouseEvent* event) {
    const QString info = pointInfo(event->position());
    if (!info.isEmpty()) {
        QToolTip::showText(event->globalPosition().toPoint(), info, this);
    } else if (QToolTip::isVisible() &&
               QToolTip::text() !=
                   Qt::convertFromPlainText(elementInfo(event->position()), Qt::WhiteSpaceNormal)) {
        QToolTip::hideText();
    }
    QWidget::mouseMoveEvent(event);
}

} // namespace cr::ui
