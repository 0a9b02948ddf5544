// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/charts/seriescharts.h"

#include "core/wheel.h"
#include "ui/charts/chartstyle.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace cr::ui {

namespace {

using namespace chartstyle;

const QColor kExpectedMark(60, 60, 60);
const QColor kStandsOut(255, 150, 0);
const QColor kZeroGreen(0, 130, 60);
const QColor kBlackNumber(35, 35, 35);

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

QString pairName(int pair) {
    static const char* const names[] = {"Rot/Schwarz", "Manque/Passe", "Gerade/Ungerade"};
    return QString::fromUtf8(names[std::clamp(pair, 0, 2)]);
}

QString sideName(int pair, int side) {
    static const char* const names[3][2] = {
        {"Rot", "Schwarz"}, {"Manque", "Passe"}, {"Gerade", "Ungerade"}};
    return QString::fromUtf8(names[std::clamp(pair, 0, 2)][std::clamp(side, 0, 1)]);
}

QColor sideColour(int pair, int side) {
    static const QColor colours[3][2] = {{QColor(200, 30, 40), QColor(50, 50, 50)},
                                         {QColor(30, 140, 50), QColor(150, 60, 180)},
                                         {QColor(30, 80, 210), QColor(0, 155, 165)}};
    return colours[std::clamp(pair, 0, 2)][std::clamp(side, 0, 1)];
}

SeriesChartBase::SeriesChartBase(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRectF SeriesChartBase::plotArea() const {
    const QFontMetrics metrics(font());
    const double left = valueAxisMargin(metrics, m_axis);
    const double top = metrics.height() + 2 * kSpacing;
    const double bottom = 2.0 * metrics.height() + 2 * kSpacing;
    return {left, top, std::max(width() - left - 2 * kSpacing, 10.0),
            std::max(height() - top - bottom, 10.0)};
}

double SeriesChartBase::rowOf(double value) const {
    const QRectF area = plotArea();
    return area.bottom() - std::clamp(valueFraction(m_axis, value), 0.0, 1.0) * area.height();
}

QRectF SeriesChartBase::slot(int i, int count) const {
    const QRectF area = plotArea();
    const double width = area.width() / std::max(count, 1);
    return {area.left() + i * width, area.top(), width, area.height()};
}

QRectF SeriesChartBase::legendBox(std::size_t n) const {
    const QFontMetrics metrics(font());
    const double swatch = metrics.height() * 0.8;
    double right = plotArea().right();
    QRectF box;
    for (std::size_t k = m_legend.size(); k-- > n;) {
        const double w = swatch + kSpacing / 2.0 + metrics.horizontalAdvance(m_legend[k].name) + 2;
        box = QRectF(right - w, kSpacing / 2.0, w, metrics.height());
        right -= w + 2 * kSpacing;
    }
    return box;
}

bool SeriesChartBase::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QString info;
        for (std::size_t n = 0; n < m_legend.size() && info.isEmpty(); ++n) {
            if (legendBox(n).contains(help->pos())) {
                info = m_legend[n].tip;
            }
        }
        if (info.isEmpty()) {
            info = toolTipAt(help->pos());
        }
        answerToolTip(event, this, info);
        return true;
    }
    return QWidget::event(event);
}

void SeriesChartBase::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRectF area = plotArea();
    p.fillRect(area, Qt::white);
    if (empty()) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, emptyText());
    } else {
        p.setPen(QPen(kGridColour, 1));
        const std::vector<AxisTick> ticks = valueTicks(m_axis);
        for (const AxisTick& t : ticks) {
            p.setPen(QPen(t.labelled ? kGridColour : kMinorGridColour, 1));
            p.drawLine(QPointF(area.left(), rowOf(t.value)), QPointF(area.right(), rowOf(t.value)));
        }
        p.setPen(palette().color(QPalette::WindowText));
        drawValueLabels(
            p, QRectF(0, 0, area.left(), height()), ticks,
            [this](double value) { return rowOf(value); }, axisTitle(), area.center().y());
        p.save();
        p.setClipRect(area.adjusted(0, -kSpacing, 0, 0));
        paintPlot(p, area);
        p.restore();
    }
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);
    if (empty()) {
        return;
    }
    const QFontMetrics metrics(font());
    const double swatch = metrics.height() * 0.8;
    for (std::size_t n = 0; n < m_legend.size(); ++n) {
        const QRectF box = legendBox(n);
        const QRectF mark(box.left(), box.top() + (box.height() - swatch) / 2, swatch, swatch);
        if (m_legend[n].line) {
            p.setPen(QPen(m_legend[n].colour, 2.4));
            p.drawLine(QPointF(mark.left(), mark.center().y()),
                       QPointF(mark.right(), mark.center().y()));
        } else {
            p.fillRect(mark, m_legend[n].colour);
        }
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(box.adjusted(swatch + kSpacing / 2.0, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   m_legend[n].name);
    }
}

// Labels under the slots, every one or fewer where they would crowd, and the
// axis title under them.
void SeriesChartBase::drawSlotLabels(QPainter& p, const QRectF& area, const QStringList& labels,
                                     const QString& title, bool countFromOne) const {
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString& label : labels) {
        widest = std::max(widest, metrics.horizontalAdvance(label));
    }
    const auto count = static_cast<int>(labels.size());
    const double width = area.width() / std::max(count, 1);
    const int every = stepLabelSpacing(width, widest + 4);
    p.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < count; ++i) {
        // The first slot always, then every EVERY-th: counted from 1 for lengths
        // (1, 5, 10, …), from the first slot for the wheel.
        if (every > 1 && i != 0 && (countFromOne ? i + 1 : i) % every != 0) {
            continue;
        }
        const double x = area.left() + (i + 0.5) * width;
        p.drawText(QRectF(x - widest, area.bottom() + 2, 2.0 * widest, metrics.height()),
                   Qt::AlignHCenter | Qt::AlignTop, labels[i]);
    }
    p.drawText(QRectF(area.left(), area.bottom() + 4 + metrics.height(), area.width(),
                      metrics.height() + kSpacing),
               Qt::AlignHCenter | Qt::AlignVCenter, title);
}

// ---------------------------------------------------------------------------

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

// ---------------------------------------------------------------------------

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
