#include "ui/appicon.h"

#include <QPainter>
#include <QPixmap>

namespace cr::ui {

QIcon makeAppIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(1, 1, 30, 30);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(96, 56, 24));
    painter.drawEllipse(outer);
    const QRectF pockets(3, 3, 26, 26);
    constexpr int kPockets = 12;
    for (int i = 0; i < kPockets; ++i) {
        const QColor colour = i == 0  ? QColor(0, 160, 0)
                              : i % 2 ? QColor(192, 0, 0)
                                      : QColor(24, 24, 24);
        painter.setBrush(colour);
        painter.drawPie(pockets, i * 16 * 360 / kPockets + 90 * 16, 16 * 360 / kPockets);
    }
    painter.setBrush(QColor(224, 224, 224));
    painter.drawEllipse(QRectF(11, 11, 10, 10));
    painter.setBrush(QColor(0, 0, 192));
    painter.drawEllipse(QRectF(14, 14, 4, 4));
    painter.end();
    return QIcon(pixmap);
}

} // namespace cr::ui
