// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>
#include <QRectF>
#include <QString>
#include <vector>

namespace cr::ui {

// The program's icon, a wheel of red and black pockets around a green zero,
// described once as shapes on a 32 x 32 canvas: the window draws them, and
// the desktop files (PNG and SVG) are written from the same description.
struct IconShape {
    enum class Kind { Ellipse, Pie };
    Kind kind;
    QRectF rect;
    int startSixteenths = 0; // pie angles in 1/16 degree, counter-clockwise from 3 o'clock
    int spanSixteenths = 0;
    QColor colour;
};

std::vector<IconShape> iconShapes();
QIcon makeAppIcon();
QString appIconSvg();

} // namespace cr::ui
