// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/grid.h"

#include <QColor>

// The window's colours.
namespace cr::ui::colours {

inline QColor fromRgb(Rgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// The window behind its controls is the light grey of an empty grid cell,
// and its captions the dark blue of a hit cell.
inline const QColor kBackground = fromRgb(kLightGrey);
inline const QColor kDarkBlue = fromRgb(cr::kDarkBlue);
inline const QColor kBlue{0, 0, 255};
inline const QColor kDarkGrey{64, 64, 64};
inline const QColor kGridLine{128, 128, 128};
inline const QColor kLightGreen{192, 255, 192};
inline const QColor kLightOrange{255, 224, 192};
inline const QColor kBlack{0, 0, 0};

} // namespace cr::ui::colours
