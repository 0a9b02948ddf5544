#include "ui/application.h"

#include "ui/mainwindow.h"

#include <QApplication>
#include <QLocale>
#include <QStyleFactory>

namespace cr::ui {

std::unique_ptr<MainWindow> createMainWindow(RandomSource& random, const QString& appDir) {
    // One look on every desktop, whatever theme the session has.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    return std::make_unique<MainWindow>(random, QLocale().decimalPoint(), appDir);
}

} // namespace cr::ui
