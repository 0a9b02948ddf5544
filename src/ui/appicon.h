#pragma once

#include <QIcon>

namespace cr::ui {

// The window's own 32 x 32 icon: a wheel of red and black pockets around a
// green zero, drawn rather than loaded so it is always there.
QIcon makeAppIcon();

} // namespace cr::ui
