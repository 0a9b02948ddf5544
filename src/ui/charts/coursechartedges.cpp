// SPDX-License-Identifier: GPL-3.0-or-later
// The course chart's edges: the value axis at the left, the legend at the
// right. Zoomed wider than its scroll area, the chart draws both at the
// edges of the part in view, over the plot, so they never scroll away.
#include "ui/charts/chartstyle.h"
#include "ui/charts/coursechart.h"

#include <QPainter>
#include <cmath>

namespace cr::ui {

namespace {

using namespace chartstyle;

const char* const kValueAxisTitle = "Anzahl Felder";

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

void CourseChart::setShownPart(int left, int width) {
    if (left != m_shownLeft || width != m_shownWidth) {
        m_shownLeft = left;
        m_shownWidth = width;
        update();
    }
}

double CourseChart::shownLeft() const {
    return std::clamp(m_shownLeft, 0, std::max(width() - 1, 0));
}

double CourseChart::shownRight() const {
    return m_shownWidth > 0 ? std::min<double>(shownLeft() + m_shownWidth, width()) : width();
}

QRectF CourseChart::valueAxisRect() const {
    return {shownLeft(), 0, plotArea().left(), static_cast<double>(height())};
}

QRectF CourseChart::legendRect() const {
    const double margin = legendWidth() + 2 * kSpacing;
    return {shownRight() - margin, 0, margin, static_cast<double>(height())};
}

void CourseChart::drawGrid(QPainter& p, const QRectF& area) const {
    for (const AxisTick& t : valueTicks(m_axis)) {
        const double y = std::round(yAt(area, t.value)) + 0.5;
        p.setPen(QPen(t.labelled ? kGridColour : kMinorGridColour, 1));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
}

// Over whatever the plot shows beneath it when scrolled: its own background
// and, at its right, the plot's left edge.
void CourseChart::drawValueAxis(QPainter& p, const QRectF& area) const {
    const QRectF panel = valueAxisRect();
    const QColor ink = palette().color(QPalette::WindowText);
    if (panel.left() > 0) {
        p.fillRect(panel, palette().window());
        p.setPen(QPen(ink, 1));
        p.drawLine(QPointF(panel.right(), area.top()), QPointF(panel.right(), area.bottom()));
    }
    p.setPen(ink);
    drawValueLabels(
        p, panel, valueTicks(m_axis),
        [this, &area](double value) { return std::round(yAt(area, value)) + 0.5; },
        text(kValueAxisTitle), area.center().y());
}

void CourseChart::drawLegend(QPainter& p, const QRectF& area) const {
    const QRectF margin = legendRect();
    if (margin.right() < width()) {
        p.fillRect(margin, palette().window());
        p.setPen(QPen(palette().color(QPalette::WindowText), 1));
        p.drawLine(QPointF(margin.left(), area.top()), QPointF(margin.left(), area.bottom()));
    }
    const QFontMetrics metrics(font());
    const int row = metrics.height() + 4;
    const int entries = static_cast<int>(std::size(kCounterLooks)) + 3;
    const QRectF box(margin.left() + kSpacing, area.top(), legendWidth(), entries * row + kSpacing);
    p.setPen(QPen(kGridColour.darker(120), 1));
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.setBrush(Qt::NoBrush);

    double y = box.top() + kSpacing / 2.0 + row / 2.0;
    const double swatchLeft = box.left() + kSpacing;
    const double textLeft = swatchLeft + kLegendSwatch + kSpacing;
    auto label = [&](const QString& name) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRectF(textLeft, y - row / 2.0, box.right() - textLeft, row),
                   Qt::AlignLeft | Qt::AlignVCenter, name);
        y += row;
    };
    auto line = [&](const SeriesLook& look) {
        p.setPen(penOf(look));
        p.drawLine(QPointF(swatchLeft, y), QPointF(swatchLeft + kLegendSwatch, y));
        label(text(look.name));
    };
    for (const SeriesLook& look : kCounterLooks) {
        line(look);
    }
    line(kStatisticLook);
    line(kMeanLook);
    p.fillRect(QRectF(swatchLeft, y - row / 2.0 + 3, kLegendSwatch, row - 6), kBandColour);
    label(text(kBandName));
}

} // namespace cr::ui
