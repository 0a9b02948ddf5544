// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

namespace cr {
class RandomSource;
}

namespace cr::ui {

class MainWindow;

// Creates the main window the way the program does: the application's style,
// the regional decimal separator, and the directory the program lives in.
std::unique_ptr<MainWindow> createMainWindow(RandomSource& random, const QString& appDir);

} // namespace cr::ui
