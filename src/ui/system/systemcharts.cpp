// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/system/systemcharts.h"

#include "core/chartlayout.h"
#include "ui/charts/chartstyle.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <functional>

namespace cr::ui {

namespace {

constexpr double kMargin = 8;
constexpr double kAxis = 56;        // room for the value labels left of a plot
constexpr double kTitleHeight = 14; // an axis title above its plot
const QColor kBalanceColour(30, 80, 210);
const QColor kStakeColour(235, 125, 0);
const QColor kBarColour(30, 140, 50);
constexpr double kAboutClasses = 30;

// The lowest and highest value on an axis, the values given and zero included.
std::pair<double, double> rangeOf(std::initializer_list<const std::vector<double>*> series) {
    double low = 0;
    double high = 0;
    for (const std::vector<double>* values : series) {
        for (const double v : *values) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    if (high - low < 1e-9) {
        high = low + 1;
    }
    return {low, high};
}

// The labelled ticks of AXIS beside a plot's left edge, each with its grid
// line, the frame around the plot, and the axis's title above it.
void drawLeftAxis(QPainter& p, const QRectF& plot, const ValueAxis& axis, const QString& title) {
    const auto y = [&](double v) { return plot.bottom() - plot.height() * valueFraction(axis, v); };
    for (const AxisTick& tick : valueTicks(axis)) {
        if (!tick.labelled) {
            continue;
        }
        p.setPen(chartstyle::kGridColour);
        p.drawLine(QPointF(plot.left(), y(tick.value)), QPointF(plot.right(), y(tick.value)));
        p.setPen(Qt::black);
        // The lowest label rises a little, clear of a plot right below.
        p.drawText(QRectF(plot.left() - kAxis, std::min(y(tick.value) - 8, plot.bottom() - 12),
                          kAxis - 4, 16),
                   Qt::AlignRight | Qt::AlignVCenter, chartstyle::numberText(tick.value));
    }
    if (!title.isEmpty()) {
        p.setPen(Qt::black);
        p.drawText(QRectF(plot.left() - kAxis, plot.top() - kTitleHeight - 6, kAxis + plot.width(),
                          kTitleHeight),
                   Qt::AlignLeft | Qt::AlignBottom, title);
    }
    p.setPen(chartstyle::kGridColour);
    p.drawRect(plot);
}

} // namespace

BalanceChart::BalanceChart(QWidget* parent) : QWidget(parent) {
    setMinimumSize(320, 200);
    setToolTip(QStringLiteral(
        "Oben der Kontostand nach jedem Wurf einer Sitzung (blau), die Linie des "
        "Erwartungswerts (grau: der Umsatz mal dem Vorteil der Bank, als Verlust) und das "
        "Band Erwartung \u00b1 2\u03c3, in dem das Ergebnis reinen Zufalls meist liegt. "
        "Unten die Einsätze jedes Wurfs (orange), aller Paare zusammen; eine Verdopplung "
        "nach einem Verlust zeigt sich als doppelt so hoher Balken."));
}

void BalanceChart::setSession(const analysis::SessionTrace& trace) {
    m_balance = trace.balance;
    m_expected = trace.expected;
    m_stakes = trace.stakes;
    m_sd.resize(trace.variance.size());
    std::transform(trace.variance.begin(), trace.variance.end(), m_sd.begin(),
                   [](double v) { return std::sqrt(std::max(v, 0.0)); });
    update();
}

// The legend's row above the plots, and the room for the spins' labels below.
constexpr double kLegendHeight = 18;
constexpr double kSpinLabels = 16;

QRectF BalanceChart::legendRect() const {
    return {kAxis + kMargin, kMargin, width() - kAxis - 2 * kMargin, kLegendHeight};
}

void BalanceChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QRectF inner = QRectF(rect()).adjusted(kAxis + kMargin, kMargin + kLegendHeight, -kMargin,
                                                 -kMargin - kSpinLabels);
    const double split = inner.top() + inner.height() * 0.7;
    const QRectF top(inner.left(), inner.top(), inner.width(), split - inner.top() - kMargin);
    const QRectF bottom(inner.left(), split, inner.width(), inner.bottom() - split);
    const std::size_t n = m_balance.size();
    if (n == 0) {
        p.setPen(Qt::black);
        p.drawText(inner, Qt::AlignCenter, QStringLiteral("Noch keine Sitzung berechnet."));
        return;
    }
    std::vector<double> upper(n);
    std::vector<double> lower(n);
    for (std::size_t i = 0; i < n; ++i) {
        upper[i] = m_expected[i] + 2 * m_sd[i];
        lower[i] = m_expected[i] - 2 * m_sd[i];
    }
    const auto [low, high] = rangeOf({&m_balance, &upper, &lower});
    // Round values on the axis, whatever the session's extremes.
    const ValueAxis axis = spanAxis(low, high);
    const auto x = [&](std::size_t i) {
        return top.left() + top.width() * static_cast<double>(i + 1) / static_cast<double>(n);
    };
    const auto y = [&](double v) { return top.bottom() - top.height() * valueFraction(axis, v); };
    drawLeftAxis(p, top, axis, QString());
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath band;
    band.moveTo(top.left(), y(0));
    for (std::size_t i = 0; i < n; ++i) {
        band.lineTo(x(i), y(upper[i]));
    }
    for (std::size_t i = n; i-- > 0;) {
        band.lineTo(x(i), y(lower[i]));
    }
    band.lineTo(top.left(), y(0));
    p.fillPath(band, chartstyle::kBandColour);
    const auto drawLine = [&](const std::vector<double>& values, const QPen& pen) {
        QPainterPath path;
        path.moveTo(top.left(), y(0));
        for (std::size_t i = 0; i < n; ++i) {
            path.lineTo(x(i), y(values[i]));
        }
        p.strokePath(path, pen);
    };
    drawLine(m_expected, chartstyle::penOf(chartstyle::kMeanLook));
    drawLine(m_balance, QPen(kBalanceColour, 1.6));

    const ValueAxis stakeAxis = linearAxis(*std::max_element(m_stakes.begin(), m_stakes.end()), 2);
    const double most = stakeAxis.high;
    p.setRenderHint(QPainter::Antialiasing, false);
    drawLeftAxis(p, bottom, stakeAxis, QString());
    const double width = std::max(bottom.width() / static_cast<double>(n), 1.0);
    for (std::size_t i = 0; i < n && i < m_stakes.size(); ++i) {
        const double h = bottom.height() * m_stakes[i] / most;
        p.fillRect(QRectF(x(i) - width, bottom.bottom() - h, width, h), kStakeColour);
    }
    p.setPen(Qt::black);
    const QRectF spins(bottom.left(), bottom.bottom() + 2, bottom.width(), kSpinLabels);
    p.drawText(spins, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Wurf 1"));
    p.drawText(spins, Qt::AlignRight | Qt::AlignTop, QStringLiteral("Wurf %L1").arg(n));
    drawLegend(p);
}

// What each colour is, in one row: the lines, the band and the bars.
void BalanceChart::drawLegend(QPainter& p) const {
    const QRectF row = legendRect();
    const QFontMetricsF metrics(font());
    double at = row.left();
    const double middle = row.center().y();
    const auto entry = [&](const QString& text, const std::function<void(const QRectF&)>& swatch) {
        const QRectF box(at, middle - 5, 22, 10);
        swatch(box);
        p.setPen(Qt::black);
        const double textWidth = metrics.horizontalAdvance(text);
        p.drawText(QRectF(box.right() + 4, row.top(), textWidth + 2, row.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, text);
        at = box.right() + 4 + textWidth + 14;
    };
    const auto line = [&p](const QPen& pen) {
        return [&p, pen](const QRectF& box) {
            p.setPen(pen);
            p.drawLine(QPointF(box.left(), box.center().y()),
                       QPointF(box.right(), box.center().y()));
        };
    };
    entry(QStringLiteral("Kontostand"), line(QPen(kBalanceColour, 2)));
    entry(QStringLiteral("Erwartung"), line(chartstyle::penOf(chartstyle::kMeanLook)));
    entry(QStringLiteral("\u00b1 2\u03c3"),
          [&p](const QRectF& box) { p.fillRect(box, chartstyle::kBandColour); });
    entry(QStringLiteral("Einsatz"), [&p](const QRectF& box) { p.fillRect(box, kStakeColour); });
}

SessionHistogram::SessionHistogram(QWidget* parent) : QWidget(parent) {
    setMinimumSize(200, 160);
    setToolTip(QStringLiteral(
        "Wie oft eine Sitzung mit welchem Ergebnis endete: jeder Balken zählt die Sitzungen, "
        "deren Gewinn oder Verlust in seine Klasse fällt; links die Verluste, rechts die "
        "Gewinne, die Linie bei 0 trennt sie."));
}

void SessionHistogram::setResults(const std::vector<double>& results) {
    m_classes.clear();
    if (!results.empty()) {
        const auto [lowest, highest] = std::minmax_element(results.begin(), results.end());
        // Results are whole multiples of half a unit, and so is every width
        // niceStep gives from 0.5 on: classes begin on round values, about 30
        // of them, each result in the class [from, to) that holds it.
        const double width = std::max(niceStep((*highest - *lowest) / kAboutClasses), 0.5);
        const double first = std::floor(*lowest / width);
        const auto count = static_cast<std::size_t>(std::floor(*highest / width) - first) + 1;
        for (std::size_t k = 0; k < count; ++k) {
            m_classes.push_back({(first + static_cast<double>(k)) * width,
                                 (first + static_cast<double>(k + 1)) * width, 0});
        }
        for (const double r : results) {
            const double k = std::floor(r / width) - first;
            ++m_classes[std::min(static_cast<std::size_t>(std::max(k, 0.0)), count - 1)].count;
        }
    }
    update();
}

void SessionHistogram::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    // Room on the right for half the last result's label.
    const QRectF plot = QRectF(rect()).adjusted(kAxis + kMargin, kMargin + kTitleHeight + 6,
                                                -kAxis / 2, -kMargin - 4 * kTitleHeight);
    if (m_classes.empty()) {
        p.setPen(Qt::black);
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("Noch keine Sitzungen."));
        return;
    }
    long long most = 1;
    for (const Class& c : m_classes) {
        most = std::max(most, c.count);
    }
    const ValueAxis counts = linearAxis(static_cast<double>(most));
    drawLeftAxis(p, plot, counts, QStringLiteral("Sitzungen"));
    // A labelled result every 80 pixels or so, so that no two labels touch.
    const int resultTicks = std::max(2, static_cast<int>(plot.width() / 80));
    const ValueAxis results = spanAxis(m_classes.front().from, m_classes.back().to, resultTicks);
    const auto x = [&](double v) { return plot.left() + plot.width() * valueFraction(results, v); };
    for (const Class& c : m_classes) {
        const double h = plot.height() * valueFraction(counts, static_cast<double>(c.count));
        p.fillRect(QRectF(x(c.from), plot.bottom() - h, std::max(x(c.to) - x(c.from) - 1, 1.0), h),
                   kBarColour);
    }
    p.setPen(Qt::black);
    if (results.low < 0 && results.high > 0) {
        p.drawLine(QPointF(x(0), plot.top()), QPointF(x(0), plot.bottom()));
    }
    for (const AxisTick& tick : valueTicks(results)) {
        p.drawLine(QPointF(x(tick.value), plot.bottom()),
                   QPointF(x(tick.value), plot.bottom() + 3));
        p.drawText(QRectF(x(tick.value) - kAxis / 2, plot.bottom() + 4, kAxis, kTitleHeight),
                   Qt::AlignHCenter | Qt::AlignTop, chartstyle::numberText(tick.value));
    }
    p.drawText(
        QRectF(plot.left(), plot.bottom() + 4 + 1.5 * kTitleHeight, plot.width(), kTitleHeight),
        Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Ergebnis je Sitzung"));
}

} // namespace cr::ui
