// SPDX-License-Identifier: GPL-3.0-or-later
// The course chart's edges: the value axis at the left, the step axis below,
// the legend at the right. Zoomed wider than its scroll area, the chart draws
// the value axis and the legend at the edges of the part in view, over the
// plot, so they never scroll away; the step axis keeps its title in view.
#include "ui/charts/chartstyle.h"
#include "ui/charts/coursechart.h"

#include <QPainter>
#include <cmath>

namespace cr::ui {

namespace {

using namespace chartstyle;

const char* const kStepAxisTitle = "Step";
const char* const kValueAxisTitle = "Anzahl Felder";
const char* const kDeviationAxisTitle = "Abweichung z (in Standardfehlern)";
const char* const kShortDeviationAxisTitle = "Abweichung z";
const char* const kWhiskerName = "\u00b1 1 SD \u00fcber die L\u00e4ufe";
const char* const kRingName = "au\u00dferhalb \u00b1 2\u03c3";
const char* const kPooledName = "%1, alle Quellen";
constexpr int kLongestName = 200; // pixels of a source's name in the legend

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
    QString title = text(kValueAxisTitle);
    if (mode() == Mode::BySource) {
        // A low chart keeps the short name; the axis's tool tip gives the unit.
        title = text(kDeviationAxisTitle);
        if (QFontMetrics(font()).horizontalAdvance(title) > area.height()) {
            title = text(kShortDeviationAxisTitle);
        }
    }
    drawValueLabels(
        p, panel, valueTicks(m_axis),
        [this, &area](double value) { return std::round(yAt(area, value)) + 0.5; }, title,
        area.center().y());
}

void CourseChart::drawStepAxis(QPainter& p, const QRectF& area) const {
    const QFontMetrics metrics(font());
    p.setPen(palette().color(QPalette::WindowText));
    // As many labels as leave room between them, at any zoom.
    const int count = static_cast<int>(m_shown);
    const double room = metrics.horizontalAdvance(QString::number(count)) + 3 * kSpacing;
    for (int step : stepLabels(count, stepLabelSpacing(xAt(area, 2) - xAt(area, 1), room))) {
        const double x = xAt(area, step);
        p.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 4));
        const QString label = QString::number(step);
        p.drawText(QRectF(x - 40, area.bottom() + 4, 80, metrics.height()), Qt::AlignHCenter,
                   label);
    }
    const QString title = text(kStepAxisTitle);
    const double left = std::max(area.left(), shownLeft() + area.left());
    const double right = std::min(area.right(), legendRect().left() - kSpacing);
    p.drawText(QRectF(left, area.bottom() + 6 + metrics.height(), std::max(right - left, 0.0),
                      metrics.height() + kSpacing),
               Qt::AlignHCenter | Qt::AlignVCenter, title);
}

std::vector<CourseChart::LegendEntry> CourseChart::legendEntries() const {
    using Swatch = LegendEntry::Swatch;
    std::vector<LegendEntry> entries;
    const Mode shown = mode();
    auto line = [&entries](const QString& name, const QString& tip, const QPen& pen) {
        entries.push_back({name, tip, Swatch::Line, pen.color(), pen});
    };
    if (shown == Mode::BySource) {
        for (std::size_t n = 0; n < m_sources.size(); ++n) {
            line(m_sourceNames[n], sourceTip(m_sourceNames[n], m_sourceCounter),
                 QPen(sourceColour(n), 1.4));
        }
        const auto i = static_cast<std::size_t>(m_sourceCounter);
        QPen pooled = penOf(kCounterLooks[i]);
        pooled.setWidthF(2.4);
        line(text(kPooledName).arg(counterName(i)), pooledTip(m_sourceCounter), pooled);
        line(text(kZeroLineName), zeroLineTip(), penOf(kMeanLook));
        entries.push_back(
            {text(kDeviationBandName), deviationBandTip(), Swatch::Band, kBandColour, {}});
        return entries;
    }
    for (std::size_t i = 0; i < kChartCounters; ++i) {
        line(counterName(i), counterTip(i, shown == Mode::Runs), penOf(kCounterLooks[i]));
    }
    if (shown == Mode::Runs) {
        entries.push_back({text(kWhiskerName), whiskerTip(), Swatch::Whiskers, {}, {}});
    }
    line(text(kStatisticLook.name), statisticTip(shown == Mode::Runs), penOf(kStatisticLook));
    line(text(kMeanLook.name), meanTip(), penOf(kMeanLook));
    entries.push_back({text(kBandName), bandTip(), Swatch::Band, kBandColour, {}});
    if (shown == Mode::OneRun && anyOutsideBand()) {
        entries.push_back({text(kRingName), ringTip(), Swatch::Ring, QColor(Qt::black), {}});
    }
    return entries;
}

int CourseChart::legendWidth() const {
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const LegendEntry& entry : legendEntries()) {
        widest = std::max(widest, std::min(metrics.horizontalAdvance(entry.name), kLongestName));
    }
    return kLegendSwatch + widest + 3 * kSpacing;
}

QRectF CourseChart::legendRow(std::size_t row) const {
    const QFontMetrics metrics(font());
    const double height = metrics.height() + 4;
    return {legendRect().left() + kSpacing,
            plotArea().top() + kSpacing / 2.0 + static_cast<double>(row) * height,
            static_cast<double>(legendWidth()), height};
}

void CourseChart::drawLegend(QPainter& p, const QRectF& area) const {
    const QRectF margin = legendRect();
    if (margin.right() < width()) {
        p.fillRect(margin, palette().window());
        p.setPen(QPen(palette().color(QPalette::WindowText), 1));
        p.drawLine(QPointF(margin.left(), area.top()), QPointF(margin.left(), area.bottom()));
    }
    const std::vector<LegendEntry> entries = legendEntries();
    const QRectF box(margin.left() + kSpacing, area.top(), legendWidth(),
                     legendRow(entries.size()).top() - area.top() + kSpacing / 2.0);
    p.setPen(QPen(kGridColour.darker(120), 1));
    p.setBrush(Qt::white);
    p.drawRect(box);
    p.setBrush(Qt::NoBrush);

    const QFontMetrics metrics(font());
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const LegendEntry& entry = entries[n];
        const QRectF row = legendRow(n);
        const double y = row.center().y();
        const QRectF swatch(row.left() + kSpacing, row.top() + 3, kLegendSwatch, row.height() - 6);
        switch (entry.swatch) {
        case LegendEntry::Swatch::Line:
            p.setPen(entry.pen);
            p.drawLine(QPointF(swatch.left(), y), QPointF(swatch.right(), y));
            break;
        case LegendEntry::Swatch::Band:
            p.fillRect(swatch, entry.colour);
            break;
        case LegendEntry::Swatch::Whiskers: // as in the plot: the six side by side
            for (std::size_t i = 0; i < kChartCounters; ++i) {
                const double x = swatch.left() + 3 + static_cast<double>(i) * 4;
                p.setPen(QPen(kCounterLooks[i].colour, 1));
                p.drawLine(QPointF(x, swatch.top()), QPointF(x, swatch.bottom()));
            }
            break;
        case LegendEntry::Swatch::Ring:
            p.setPen(QPen(entry.colour, 1.5));
            p.drawEllipse(QPointF(swatch.center().x(), y), 6, 6);
            break;
        }
        const double textLeft = swatch.right() + kSpacing;
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRectF(textLeft, row.top(), row.right() - textLeft, row.height()),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(entry.name, Qt::ElideMiddle, kLongestName));
    }
}

} // namespace cr::ui
