// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/charts/histogramchart.h"

#include "ui/charts/chartstyle.h"

#include <QHelpEvent>
#include <QPainter>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace cr::ui {

namespace {

using namespace chartstyle;

const char* const kObserved = "beobachtet";
const char* const kExpected = "erwartet";
const char* const kValueAxisTitle = "Anzahl Läufe";
const char* const kClassAxisTitle = "Wert des Zählers (Anzahl Felder)";
const char* const kObservedTip =
    "beobachtet: wie viele der Läufe nach diesem Step diesen Wert des Zählers hatten "
    "(Säule in der Farbe des Zählers).";
const char* const kExpectedTip =
    "erwartet: wie viele Läufe das exakte Gesetz (Binomialverteilung) für diesen Wert "
    "erwartet; die dunkle Oberkante der hellen Säule ist seine Linie.";
const char* const kValueAxisTip =
    "Anzahl Läufe: die Höhe einer Säule ist die Zahl der Läufe, in denen der Zähler nach "
    "diesem Step den Wert unter ihr hatte.";
const char* const kClassAxisTip =
    "Wert des Zählers (Anzahl Felder): wie viele Felder der Zähler nach diesem Step in "
    "einem Lauf zählte. Seltene Werte am Rand sind zusammengefasst (etwa 0–30), bis jede "
    "Gruppe mindestens 5 erwartete Läufe hat.";
const char* const kClassTip =
    "Linke Säule: so viele Läufe hatten diesen Wert; rechte, helle Säule: so viele erwartet "
    "das exakte Gesetz. Bei reinem Zufall liegen beide nahe beieinander.";
const char* const kNothingYet = "Noch keine Auswertung";
const QColor kExpectedOutline(80, 80, 80);

QString label(const analysis::HistogramClass& c) {
    return QString::fromStdString(analysis::classLabel(c));
}

} // namespace

HistogramChart::HistogramChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("histogrammchart"));
    setAccessibleName(QStringLiteral("Histogramm"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    relayout();
}

void HistogramChart::setClasses(std::vector<analysis::HistogramClass> classes,
                                std::size_t counter) {
    m_classes = std::move(classes);
    m_counter = std::min(counter, std::size(kCounterLooks) - 1);
    relayout();
    update();
}

// As many ticks as the plot's height leaves room for, two lines of text apart
// (the plot's height does not depend on the axis).
void HistogramChart::relayout() {
    const double room = plotArea().height() / (2.0 * QFontMetrics(font()).height());
    m_layout = analysis::layoutHistogram(m_classes, std::clamp(static_cast<int>(room), 1, 5));
}

void HistogramChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

QColor HistogramChart::observedColour() const {
    return kCounterLooks[m_counter].colour;
}

// The band's shade of "Verlauf" as it shows on white, so the legend's swatch
// on the window's grey matches the bars.
QColor HistogramChart::expectedColour() const {
    const double a = kBandColour.alphaF();
    auto over = [a](int c) { return static_cast<int>(std::lround(255 + (c - 255) * a)); };
    return {over(kBandColour.red()), over(kBandColour.green()), over(kBandColour.blue())};
}

QSize HistogramChart::sizeHint() const {
    return {480, 220};
}

QSize HistogramChart::minimumSizeHint() const {
    return {240, 140};
}

QRectF HistogramChart::plotArea() const {
    const QFontMetrics metrics(font());
    const double left = valueAxisMargin(metrics, m_layout.axis);
    const double top = metrics.height() + 2 * kSpacing;
    const double right = 2 * kSpacing;
    const double bottom = 2.0 * metrics.height() + 2 * kSpacing;
    return {left, top, std::max(width() - left - right, 10.0),
            std::max(height() - top - bottom, 10.0)};
}

QString HistogramChart::classInfo(const QPointF& pos) const {
    const QRectF area = plotArea();
    if (pos.y() < area.top() || pos.y() > area.bottom()) {
        return {};
    }
    const int at = analysis::classAt(m_layout, (pos.x() - area.left()) / area.width());
    if (at < 0) {
        return {};
    }
    const analysis::HistogramClass& c = m_classes[static_cast<std::size_t>(at)];
    const QLocale locale;
    return QStringLiteral("%1 %2 %3\n%4 %5\n%6 %7\n%8")
        .arg(QString::fromUtf8(kCounterLooks[m_counter].name),
             c.low == c.high ? QStringLiteral("Wert") : QStringLiteral("Werte"), label(c),
             QString::fromUtf8(kObserved), locale.toString(c.observed),
             QString::fromUtf8(kExpected), locale.toString(c.expected, 'f', 1),
             QString::fromUtf8(kClassTip));
}

QString HistogramChart::toolTipAt(const QPointF& pos) const {
    if (legendEntry(0).contains(pos)) {
        return QString::fromUtf8(kObservedTip);
    }
    if (legendEntry(1).contains(pos)) {
        return QString::fromUtf8(kExpectedTip);
    }
    const QRectF area = plotArea();
    if (m_classes.empty() || pos.y() < area.top()) {
        return {};
    }
    if (pos.x() < area.left()) {
        return pos.y() <= area.bottom() ? QString::fromUtf8(kValueAxisTip) : QString();
    }
    if (pos.y() > area.bottom()) {
        return QString::fromUtf8(kClassAxisTip);
    }
    return classInfo(pos);
}

bool HistogramChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        answerToolTip(event, this, toolTipAt(help->pos()));
        return true;
    }
    return QWidget::event(event);
}

void HistogramChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRectF area = plotArea();
    p.fillRect(area, Qt::white);
    if (m_classes.empty()) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(area, Qt::AlignCenter, QString::fromUtf8(kNothingYet));
    } else {
        drawValueAxis(p, area);
        drawBars(p, area);
        drawClassLabels(p, area);
    }
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);
    drawLegend(p, area);
}

void HistogramChart::drawValueAxis(QPainter& p, const QRectF& area) const {
    auto row = [this, &area](double value) {
        return std::round(area.bottom() - valueFraction(m_layout.axis, value) * area.height()) +
               0.5;
    };
    p.setPen(QPen(kGridColour, 1));
    for (const AxisTick& t : m_layout.ticks) {
        p.drawLine(QPointF(area.left(), row(t.value)), QPointF(area.right(), row(t.value)));
    }
    p.setPen(palette().color(QPalette::WindowText));
    drawValueLabels(p, QRectF(0, 0, area.left(), height()), m_layout.ticks, row,
                    QString::fromUtf8(kValueAxisTitle), area.center().y());
}

void HistogramChart::drawBars(QPainter& p, const QRectF& area) const {
    auto box = [&area](double left, double right, double top) {
        return QRectF(
            QPointF(area.left() + left * area.width(), area.bottom() - top * area.height()),
            QPointF(area.left() + right * area.width(), area.bottom()));
    };
    for (const analysis::HistogramBars& b : m_layout.bars) {
        p.fillRect(box(b.observedLeft, b.observedRight, b.observedTop), observedColour());
        const QRectF expected = box(b.expectedLeft, b.expectedRight, b.expectedTop);
        p.fillRect(expected, expectedColour());
        p.setPen(QPen(kExpectedOutline, 1));
        p.drawLine(expected.topLeft(), expected.topRight());
    }
}

void HistogramChart::drawClassLabels(QPainter& p, const QRectF& area) const {
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const analysis::HistogramClass& c : m_classes) {
        widest = std::max(widest, metrics.horizontalAdvance(label(c)));
    }
    const double slot = area.width() / static_cast<double>(m_classes.size());
    const int stride = analysis::labelStride(slot, widest);
    const double room = slot * stride;
    p.setPen(palette().color(QPalette::WindowText));
    for (std::size_t i = 0; i < m_classes.size(); i += static_cast<std::size_t>(stride)) {
        const analysis::HistogramBars& b = m_layout.bars[i];
        const double x = area.left() + (b.left + b.right) / 2 * area.width();
        p.drawText(QRectF(x - room / 2, area.bottom() + 2, room, metrics.height()),
                   Qt::AlignHCenter | Qt::AlignTop, label(m_classes[i]));
    }
    p.drawText(QRectF(area.left(), area.bottom() + 4 + metrics.height(), area.width(),
                      metrics.height() + kSpacing),
               Qt::AlignHCenter | Qt::AlignVCenter, QString::fromUtf8(kClassAxisTitle));
}

// One row above the plot, at its right end.
QRectF HistogramChart::legendEntry(int n) const {
    const QFontMetrics metrics(font());
    const int observed = metrics.horizontalAdvance(QString::fromUtf8(kObserved));
    const int expected = metrics.horizontalAdvance(QString::fromUtf8(kExpected));
    const double swatch = metrics.height() * 0.8;
    const double left = plotArea().right() - observed - expected - 2 * swatch - 4 * kSpacing;
    const double first = swatch + kSpacing / 2.0 + observed + 2;
    return n == 0 ? QRectF(left, kSpacing / 2.0, first, metrics.height())
                  : QRectF(left + first + 2 * kSpacing - 2, kSpacing / 2.0,
                           swatch + kSpacing / 2.0 + expected + 2, metrics.height());
}

void HistogramChart::drawLegend(QPainter& p, const QRectF& /*area*/) const {
    const QFontMetrics metrics(font());
    const double swatch = metrics.height() * 0.8;
    auto entry = [&](const QRectF& box, const QColor& colour, const QString& name) {
        p.fillRect(QRectF(box.left(), box.top() + (box.height() - swatch) / 2, swatch, swatch),
                   colour);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRectF(box.left() + swatch + kSpacing / 2.0, box.top(),
                          metrics.horizontalAdvance(name) + 2, box.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, name);
    };
    entry(legendEntry(0), observedColour(), QString::fromUtf8(kObserved));
    entry(legendEntry(1), expectedColour(), QString::fromUtf8(kExpected));
}

} // namespace cr::ui
