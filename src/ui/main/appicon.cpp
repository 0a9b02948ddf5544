// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/appicon.h"

#include <QPainter>
#include <QPixmap>
#include <cmath>
#include <numbers>

namespace cr::ui {

std::vector<IconShape> iconShapes() {
    std::vector<IconShape> shapes;
    shapes.push_back({IconShape::Kind::Ellipse, QRectF(1, 1, 30, 30), 0, 0, QColor(96, 56, 24)});
    constexpr int kPockets = 12;
    constexpr int kSpan = 16 * 360 / kPockets;
    for (int i = 0; i < kPockets; ++i) {
        const QColor colour = i == 0  ? QColor(0, 160, 0)
                              : i % 2 ? QColor(192, 0, 0)
                                      : QColor(24, 24, 24);
        shapes.push_back(
            {IconShape::Kind::Pie, QRectF(3, 3, 26, 26), i * kSpan + 90 * 16, kSpan, colour});
    }
    shapes.push_back(
        {IconShape::Kind::Ellipse, QRectF(11, 11, 10, 10), 0, 0, QColor(224, 224, 224)});
    shapes.push_back({IconShape::Kind::Ellipse, QRectF(14, 14, 4, 4), 0, 0, QColor(0, 0, 192)});
    return shapes;
}

QIcon makeAppIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (const IconShape& shape : iconShapes()) {
        painter.setBrush(shape.colour);
        if (shape.kind == IconShape::Kind::Ellipse) {
            painter.drawEllipse(shape.rect);
        } else {
            painter.drawPie(shape.rect, shape.startSixteenths, shape.spanSixteenths);
        }
    }
    painter.end();
    return QIcon(pixmap);
}

QString appIconSvg() {
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" "
                                 "height=\"32\" viewBox=\"0 0 32 32\">\n");
    auto num = [](double v) { return QString::number(v, 'f', 3); };
    for (const IconShape& shape : iconShapes()) {
        const QRectF& r = shape.rect;
        const double cx = r.center().x();
        const double cy = r.center().y();
        const double radius = r.width() / 2;
        const QString fill = shape.colour.name();
        if (shape.kind == IconShape::Kind::Ellipse) {
            svg += QStringLiteral(
                       "  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\" stroke=\"none\"/>\n")
                       .arg(num(cx), num(cy), num(radius), fill);
            continue;
        }
        // Counter-clockwise on screen, where y grows downwards.
        const double from = shape.startSixteenths / 16.0 * std::numbers::pi / 180.0;
        const double to =
            (shape.startSixteenths + shape.spanSixteenths) / 16.0 * std::numbers::pi / 180.0;
        svg +=
            QStringLiteral(
                "  <path d=\"M%1 %2 L%3 %4 A%5 %5 0 0 0 %6 %7 Z\" fill=\"%8\" stroke=\"none\"/>\n")
                .arg(num(cx), num(cy), num(cx + radius * std::cos(from)),
                     num(cy - radius * std::sin(from)), num(radius),
                     num(cx + radius * std::cos(to)), num(cy - radius * std::sin(to)), fill);
    }
    svg += QStringLiteral("</svg>\n");
    return svg;
}

} // namespace cr::ui
