// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The window's colours.
namespace cr::ui::colours {

inline const QColor kBackground{224, 224, 224};
inline const QColor kDarkBlue{0, 0, 192};
inline const QColor kBlue{0, 0, 255};
inline const QColor kDarkGrey{64, 64, 64};
inline const QColor kGridLine{128, 128, 128};
inline const QColor kLightGreen{192, 255, 192};
inline const QColor kLightOrange{255, 224, 192};
inline const QColor kBlack{0, 0, 0};

} // namespace cr::ui::colours
