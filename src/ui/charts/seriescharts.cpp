// SPDX-License-Identifier: GPL-3.0-or-later
// What the series charts share: the names and colours of the pairs' sides,
// and a frame of plot, value axis, slots along the bottom and legend, each
// part answering a tool-tip event.
#include "ui/charts/seriescharts.h"

#include "ui/charts/chartstyle.h"

#include <QHelpEvent>
#include <QPainter>
#include <algorithm>

namespace cr::ui {

namespace {

using namespace chartstyle;

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

} // namespace cr::ui
