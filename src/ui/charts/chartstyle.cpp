// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/charts/chartstyle.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRectF>
#include <algorithm>

namespace cr::ui::chartstyle {

double valueAxisMargin(const QFontMetrics& metrics, const ValueAxis& axis) {
    int labels = metrics.horizontalAdvance(QStringLiteral("0"));
    for (double value : widestLabelValues(axis)) {
        labels = std::max(labels, metrics.horizontalAdvance(numberText(value)));
    }
    return kSpacing + metrics.height() + kSpacing + labels + kSpacing;
}

void drawValueLabels(QPainter& p, const QRectF& margin, const std::vector<AxisTick>& ticks,
                     const std::function<double(double)>& row, const QString& title,
                     double middle) {
    const QFontMetrics metrics = p.fontMetrics();
    for (const AxisTick& t : ticks) {
        if (t.labelled) {
            const double y = row(t.value);
            const QRectF box(margin.left(), y - metrics.height(), margin.width() - kSpacing,
                             2 * metrics.height());
            p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, numberText(t.value));
        }
    }
    p.save();
    p.translate(margin.left() + kSpacing + metrics.ascent(), middle);
    p.rotate(-90);
    p.drawText(QPointF(-metrics.horizontalAdvance(title) / 2.0, 0), title);
    p.restore();
}

} // namespace cr::ui::chartstyle
