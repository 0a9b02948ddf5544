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
    const QLocale locale;
    const auto value = static_cast<int>(chartCounter(*hit, counter));
    const double chance = analysis::atLeastAsFar(m_steprate, 2 * fieldChance(hit->step), value);
    return QStringLiteral("%1, Step %2: %3\nErwartungswert %4, σ %5\n"
                          "So weit oder weiter vom Mittel: %6 %")
        .arg(counterName(counter))
        .arg(hit->step)
        .arg(value)
        .arg(locale.toString(expectedCount(m_steprate, hit->step), 'f', 2))
        .arg(locale.toString(expectedSigma(m_steprate, hit->step), 'f', 2))
        .arg(locale.toString(100 * chance, 'g', 3));
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
