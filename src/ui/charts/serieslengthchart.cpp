// SPDX-License-Identifier: GPL-3.0-or-later
// "Serien nach Länge": how many series of each length a pair's sides had,
// on a logarithmic axis, beside what pure chance expects of each length.
#include "ui/charts/chartstyle.h"
#include "ui/charts/seriescharts.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace cr::ui {

namespace {

using namespace chartstyle;

const QColor kExpectedMark(60, 60, 60);

QString number(double value, int decimals) {
    return QLocale().toString(value, 'f', decimals);
}

QString countText(long long value) {
    return QLocale().toString(value);
}

// An expectation as precise as it needs: one decimal, or two significant
// digits below one.
QString expectedText(double value) {
    return value >= 1 ? number(value, 1) : QLocale().toString(value, 'g', 2);
}

} // namespace

SeriesLengthChart::SeriesLengthChart(QWidget* parent) : SeriesChartBase(parent) {
    setObjectName(QStringLiteral("serienchart"));
    setAccessibleName(QStringLiteral("Serien nach Länge"));
    m_axis.logarithmic = true;
    m_axis.low = 0.1;
    m_axis.high = 10;
}

std::vector<int> SeriesLengthChart::shownSides() const {
    return m_side == 2 ? std::vector<int>{0, 1} : std::vector<int>{m_side};
}

long long SeriesLengthChart::count(int side, long long length) const {
    const auto& counts = m_pair.byLength[static_cast<std::size_t>(side)];
    return length >= 1 && length <= static_cast<long long>(counts.size())
               ? counts[static_cast<std::size_t>(length - 1)]
               : 0;
}

void SeriesLengthChart::setPair(const analysis::PairSeries& pair, int pairIndex, int side) {
    m_pair = pair;
    m_pairIndex = std::clamp(pairIndex, 0, 2);
    m_side = std::clamp(side, 0, 2);
    m_lengths = 0;
    double lowest = 1;
    double highest = 1;
    m_legend.clear();
    for (int s : shownSides()) {
        const long long longest = m_pair.longest[static_cast<std::size_t>(s)];
        m_lengths = std::max(m_lengths, static_cast<int>(longest));
        m_legend.push_back(
            {sideColour(m_pairIndex, s), sideName(m_pairIndex, s),
             QStringLiteral("%1: wie viele Serien von %1 genau so lang waren wie die Zahl unter "
                            "der Säule (eine Serie: so viele %1 hintereinander, die Null "
                            "übergangen).")
                 .arg(sideName(m_pairIndex, s))});
    }
    for (int s : shownSides()) {
        for (long long k = 1; k <= m_lengths; ++k) {
            const double expected = m_pair.expectedOfLength(s, k);
            const auto observed = static_cast<double>(count(s, k));
            highest = std::max({highest, expected, observed});
            if (observed > 0) {
                lowest = std::min(lowest, observed);
            }
            if (expected > 0) {
                lowest = std::min(lowest, expected);
            }
        }
    }
    m_legend.push_back({kExpectedMark, QStringLiteral("erwartet"),
                        QStringLiteral("erwartet: die dunkle Marke je Säule ist die Zahl "
                                       "solcher Serien, die reiner Zufall bei so vielen "
                                       "Entscheidungen im Mittel gibt (exakt berechnet)."),
                        true});
    // Whole decades, down to a thousandth at most: rarer expectations sit on the floor.
    m_axis.low = std::pow(10.0, std::floor(std::log10(std::max(lowest, 1e-3)) + 1e-9));
    m_axis.high = std::pow(10.0, std::ceil(std::log10(highest) - 1e-9));
    if (m_axis.high <= m_axis.low * 1.5) {
        m_axis.high = m_axis.low * 10;
    }
    update();
}

QRectF SeriesLengthChart::barOf(long long length, int side) const {
    const std::vector<int> sides = shownSides();
    const auto at = std::find(sides.begin(), sides.end(), side);
    if (length < 1 || length > m_lengths || at == sides.end() || count(side, length) == 0) {
        return {};
    }
    const QRectF box = slot(static_cast<int>(length - 1), m_lengths);
    const double inner = box.width() * 0.8 / static_cast<double>(sides.size());
    const double left =
        box.left() + box.width() * 0.1 + inner * static_cast<double>(at - sides.begin());
    return QRectF(QPointF(left, rowOf(static_cast<double>(count(side, length)))),
                  QPointF(left + inner, box.bottom()));
}

void SeriesLengthChart::paintPlot(QPainter& p, const QRectF& area) const {
    const std::vector<int> sides = shownSides();
    for (long long k = 1; k <= m_lengths; ++k) {
        const QRectF box = slot(static_cast<int>(k - 1), m_lengths);
        const double inner = box.width() * 0.8 / static_cast<double>(sides.size());
        for (std::size_t i = 0; i < sides.size(); ++i) {
            const QRectF bar = barOf(k, sides[i]);
            if (!bar.isEmpty()) {
                p.fillRect(bar, sideColour(m_pairIndex, sides[i]));
            }
            const double left = box.left() + box.width() * 0.1 + inner * static_cast<double>(i);
            const double y = rowOf(m_pair.expectedOfLength(sides[i], k));
            if (y < area.bottom() - 0.5) {
                p.setPen(QPen(kExpectedMark, std::clamp(inner / 8, 2.0, 3.0)));
                p.drawLine(QPointF(left - 1, y), QPointF(left + inner + 1, y));
            }
        }
    }
    QStringList labels;
    for (int k = 1; k <= m_lengths; ++k) {
        labels << QString::number(k);
    }
    p.setClipping(false);
    drawSlotLabels(p, area, labels, QStringLiteral("Länge der Serie (Würfe einer Seite in Folge)"),
                   true);
}

QString SeriesLengthChart::axisTitle() const {
    return QStringLiteral("Anzahl Serien (log.)");
}

QString SeriesLengthChart::emptyText() const {
    return QStringLiteral("Keine Serien: Noch keine Auswertung oder nur Nullen.");
}

QString SeriesLengthChart::toolTipAt(const QPointF& pos) const {
    const QRectF area = plotArea();
    if (empty() || pos.y() < area.top()) {
        return {};
    }
    if (pos.x() < area.left()) {
        return QStringLiteral(
            "Anzahl Serien, logarithmisch geteilt: Jede beschriftete Linie ist zehnmal so viel "
            "wie die darunter, damit die seltenen langen Serien neben den vielen kurzen "
            "lesbar bleiben. Eine Länge ohne Serie hat keine Säule.");
    }
    if (pos.y() > area.bottom()) {
        return QStringLiteral(
            "Länge der Serie: so viele Würfe derselben Seite hintereinander; eine Null "
            "dazwischen beendet die Serie nicht und verlängert sie nicht.");
    }
    const auto k = static_cast<long long>((pos.x() - area.left()) / area.width() * m_lengths) + 1;
    if (k < 1 || k > m_lengths) {
        return {};
    }
    QStringList lines;
    lines << QStringLiteral("Serien der Länge %1 (%2):").arg(k).arg(pairName(m_pairIndex));
    for (int s : shownSides()) {
        const double expected = m_pair.expectedOfLength(s, k);
        lines << QStringLiteral("%1: %2 beobachtet, %3 erwartet")
                     .arg(sideName(m_pairIndex, s), countText(count(s, k)), expectedText(expected));
    }
    lines << QStringLiteral(
        "Erwartet ist der exakte Mittelwert bei reinem Zufall für diese Zahl von Entscheidungen. "
        "Zufällig weicht eine Anzahl um etwa ihre Wurzel ab (bei 100 erwarteten um etwa 10); "
        "erst deutlich größere Abstände bei vielen Längen sprächen für ein Muster.");
    return lines.join(QLatin1Char('\n'));
}

} // namespace cr::ui
