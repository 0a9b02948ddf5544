// SPDX-License-Identifier: GPL-3.0-or-later
// "Is this normal?": what the course chart tells about the point under the
// pointer, and the points it rings for lying outside the band.
#include "analysis/goodness.h"
#include "core/chartlayout.h"
#include "core/expectation.h"
#include "ui/charts/coursechart.h"

#include <QLocale>
#include <QMouseEvent>
#include <QToolTip>
#include <cmath>

namespace cr::ui {

namespace {

constexpr double kReach = 6; // pixels from a point that still point at it

} // namespace

bool CourseChart::outsideBand(int step, double value) const {
    const double mean = expectedCount(m_steprate, step);
    return std::abs(value - mean) > 2 * expectedSigma(m_steprate, step);
}

QString CourseChart::pointInfo(const QPointF& pos) const {
    // Nothing under the value axis or the legend, which a scrolled chart
    // draws over its points.
    if (showsRuns() || pos.x() < valueAxisRect().right() || pos.x() > legendRect().left()) {
        return {};
    }
    double nearest = kReach;
    const StepResult* hit = nullptr;
    std::size_t counter = 0;
    for (const StepResult& r : m_steps) {
        if (static_cast<std::size_t>(r.step) > m_shown) {
            break;
        }
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
    const auto value = static_cast<int>(chartCounter(*hit, counter));
    const double chance = analysis::atLeastAsFar(m_steprate, 2 * fieldChance(hit->step), value);
    const QLocale locale;
    const auto number = [&locale](double v, char format, int precision) {
        return locale.toString(v, format, precision).toStdString();
    };
    return QString::fromStdString(pointInfoText(counterName(counter).toStdString(), hit->step,
                                                value, m_steprate, chance, number));
}

void CourseChart::mouseMoveEvent(QMouseEvent* event) {
    const QString info = pointInfo(event->position());
    if (info.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(event->globalPosition().toPoint(), info, this);
    }
    QWidget::mouseMoveEvent(event);
}

} // namespace cr::ui
