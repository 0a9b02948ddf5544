// SPDX-License-Identifier: GPL-3.0-or-later
// "Die 37 Zahlen": how often each number fell, in the order of the wheel,
// against n/37 with its band; a number far outside it is marked.
#include "core/wheel.h"
#include "ui/charts/chartstyle.h"
#include "ui/charts/seriescharts.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace cr::ui {

namespace {

using namespace chartstyle;

const QColor kStandsOut(255, 150, 0);
const QColor kZeroGreen(0, 130, 60);
const QColor kBlackNumber(35, 35, 35);

QString number(double value, int decimals) {
    return QLocale().toString(value, 'f', decimals);
}

QString countText(long long value) {
    return QLocale().toString(value);
}

} // namespace

NumberBarsChart::NumberBarsChart(QWidget* parent) : SeriesChartBase(parent) {
    setObjectName(QStringLiteral("zahlenchart"));
    setAccessibleName(QStringLiteral("Die 37 Zahlen in Kesselfolge"));
    m_legend = {
        {kMeanLook.colour, QStringLiteral("n/37"),
         QStringLiteral("n/37: so oft erwartet reiner Zufall jede Zahl bei n Würfen."), true},
        {kBandColour, QString::fromUtf8(kBandName),
         QStringLiteral("Das Band reicht zwei Standardabweichungen σ = √(n · 1/37 · 36/37) zu "
                        "jeder Seite von n/37: Bei reinem Zufall liegen etwa 95 % der Zahlen "
                        "darin, gut ein bis zwei der 37 also draußen.")},
        {kStandsOut, QStringLiteral("über ±3σ"),
         QStringLiteral("Orange umrandet und markiert: eine Zahl mehr als drei σ von n/37. Für "
                        "eine bestimmte Zahl kommt das bei reinem Zufall in 0,27 % der Fälle vor, "
                        "unter 37 Zahlen immerhin bei etwa jedem zehnten Tisch.")},
    };
}

void NumberBarsChart::setCounts(const analysis::NumberCounts& counts) {
    m_counts = counts;
    const double expected = counts.expected();
    const double sd = counts.sd();
    double low = expected - 3.5 * sd;
    double high = expected + 3.5 * sd;
    for (long long c : counts.counts) {
        low = std::min(low, static_cast<double>(c));
        high = std::max(high, static_cast<double>(c));
    }
    // From zero where the band comes near it; else the bars start at the
    // axis's foot, so that the differences between them can be seen.
    m_axis = low < 0.3 * expected ? linearAxis(high, 5) : spanAxis(low, high, 5);
    update();
}

double NumberBarsChart::deviation(int number) const {
    const double sd = m_counts.sd();
    if (number < 0 || number >= analysis::kNumbers || !(sd > 0)) {
        return 0;
    }
    return (static_cast<double>(m_counts.counts[static_cast<std::size_t>(number)]) -
            m_counts.expected()) /
           sd;
}

QRectF NumberBarsChart::barOf(int number) const {
    const auto at = std::find(kWheelOrder.begin(), kWheelOrder.end(), number);
    if (at == kWheelOrder.end() || empty()) {
        return {};
    }
    const QRectF box = slot(static_cast<int>(at - kWheelOrder.begin()), analysis::kNumbers);
    const double value = static_cast<double>(m_counts.counts[static_cast<std::size_t>(number)]);
    return QRectF(QPointF(box.left() + box.width() * 0.15, rowOf(value)),
                  QPointF(box.right() - box.width() * 0.15, box.bottom()));
}

void NumberBarsChart::paintPlot(QPainter& p, const QRectF& area) const {
    const double expected = m_counts.expected();
    const double sd = m_counts.sd();
    p.fillRect(QRectF(QPointF(area.left(), rowOf(expected + 2 * sd)),
                      QPointF(area.right(), rowOf(std::max(expected - 2 * sd, m_axis.low)))),
               kBandColour);
    const ColourTable farbe = makeColourTable();
    for (int number : kWheelOrder) {
        const QRectF bar = barOf(number);
        const int colour = farbe[static_cast<std::size_t>(number)];
        p.fillRect(bar, colour == kRed     ? sideColour(0, 0)
                        : colour == kBlack ? kBlackNumber
                                           : kZeroGreen);
        if (standsOut(number)) {
            p.setPen(QPen(kStandsOut, 3));
            p.setBrush(Qt::NoBrush);
            p.drawRect(bar.adjusted(-1.5, -1.5, 1.5, 0));
            QPainterPath mark;
            const double x = bar.center().x();
            const double y = bar.top() - 4;
            mark.moveTo(x - 5, y - 8);
            mark.lineTo(x + 5, y - 8);
            mark.lineTo(x, y);
            mark.closeSubpath();
            p.fillPath(mark, kStandsOut);
        }
    }
    p.setPen(penOf(kMeanLook));
    p.drawLine(QPointF(area.left(), rowOf(expected)), QPointF(area.right(), rowOf(expected)));
    QStringList labels;
    for (int number : kWheelOrder) {
        labels << QString::number(number);
    }
    p.setClipping(false);
    drawSlotLabels(p, area, labels, QStringLiteral("Zahl, in der Folge des Kessels ab der Null"),
                   false);
}

QString NumberBarsChart::axisTitle() const {
    return QStringLiteral("Anzahl Würfe");
}

QString NumberBarsChart::emptyText() const {
    return QStringLiteral("Noch keine Auswertung");
}

QString NumberBarsChart::toolTipAt(const QPointF& pos) const {
    const QRectF area = plotArea();
    if (empty() || pos.y() < area.top()) {
        return {};
    }
    if (pos.x() < area.left()) {
        return QStringLiteral("Anzahl Würfe: wie oft jede Zahl fiel. Die Achse beginnt nicht "
                              "unbedingt bei 0, damit die Unterschiede zu sehen sind; die "
                              "Zahlen zeigt der Hinweis jeder Säule.");
    }
    if (pos.y() > area.bottom()) {
        return QStringLiteral("Die Zahlen in der Folge, in der sie im Kessel liegen (ab der "
                              "Null): Ein Kessel, der eine Gegend bevorzugt, zeigt dort "
                              "mehrere hohe Säulen nebeneinander.");
    }
    const auto at = static_cast<int>((pos.x() - area.left()) / area.width() * analysis::kNumbers);
    if (at < 0 || at >= analysis::kNumbers) {
        return {};
    }
    const int n = kWheelOrder[static_cast<std::size_t>(at)];
    const int colour = makeColourTable()[static_cast<std::size_t>(n)];
    const double z = deviation(n);
    QString tip = QStringLiteral("Zahl %1 (%2): %3-mal, erwartet n/37 = %4, σ = %5; Abstand %6 σ.\n"
                                 "Bei reinem Zufall liegen etwa 95 % der Zahlen innerhalb von ±2σ.")
                      .arg(n)
                      .arg(colour == kRed     ? QStringLiteral("rot")
                           : colour == kBlack ? QStringLiteral("schwarz")
                                              : QStringLiteral("grün"))
                      .arg(countText(m_counts.counts[static_cast<std::size_t>(n)]))
                      .arg(number(m_counts.expected(), 1), number(m_counts.sd(), 1))
                      .arg((z > 0 ? QStringLiteral("+") : QString()) + number(z, 2));
    if (standsOut(n)) {
        tip += QStringLiteral("\nAuffällig: mehr als 3σ von n/37. Für eine bestimmte Zahl "
                              "kommt das bei reinem Zufall in 0,27 % der Fälle vor, unter 37 "
                              "Zahlen bei etwa jedem zehnten Tisch.");
    }
    return tip;
}

} // namespace cr::ui
