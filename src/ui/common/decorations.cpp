// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/decorations.h"

#include "ui/common/twips.h"

#include <QPainter>

namespace cr::ui {

LineWidget::LineWidget(const QString& name, int x1, int y1, int x2, int y2, const QColor& colour,
                       QWidget* parent)
    : QWidget(parent), m_colour(colour) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const QPoint a(px(x1), px(y1));
    const QPoint b(px(x2), px(y2));
    setGeometry(QRect(a, b).normalized());
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(m_colour);
    if (width() > height()) {
        painter.drawLine(0, 0, width() - 1, 0);
    } else {
        painter.drawLine(0, 0, 0, height() - 1);
    }
}

OutlineWidget::OutlineWidget(const QString& name, const QRect& geometry, const QColor& colour,
                             QWidget* parent)
    : QWidget(parent), m_colour(colour) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(geometry);
}

void OutlineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(m_colour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace cr::ui
