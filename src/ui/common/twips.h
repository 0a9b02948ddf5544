// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QtGlobal>

namespace cr::ui {

// The layout is measured in twips, 15 to a pixel.
constexpr int px(int twips) {
    return (twips * 2 + 15) / 30;
} // rounded

inline QRect twipRect(int left, int top, int width, int height) {
    return QRect(QPoint(px(left), px(top)), QPoint(px(left + width) - 1, px(top + height) - 1));
}

} // namespace cr::ui
