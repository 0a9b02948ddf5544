#include "core/random.h"
#include "ui/application.h"
#include "ui/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    cr::ClockRandom random;
    auto window = cr::ui::createMainWindow(random, QCoreApplication::applicationDirPath());
    window->show();
    return QApplication::exec();
}
