// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the program's icon as chancenraster.png (32 x 32) and
// chancenraster.svg into the given directory, for the desktop files.
#include "ui/main/appicon.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: chancenraster-icon DIRECTORY\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    if (!cr::ui::makeAppIcon().pixmap(32, 32).save(dir.filePath("chancenraster.png"), "PNG")) {
        std::fprintf(stderr, "cannot write the PNG icon\n");
        return 1;
    }
    QFile svg(dir.filePath("chancenraster.svg"));
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        svg.write(cr::ui::appIconSvg().toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write the SVG icon\n");
        return 1;
    }
    return 0;
}
