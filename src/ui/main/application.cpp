// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/application.h"

#include "ui/accessibility/accessibility.h"
#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

namespace cr::ui {

std::unique_ptr<MainWindow> createMainWindow(RandomSource& random, const QString& appDir) {
    // One look on every desktop, whatever theme the session has.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The toolkit's own words (Ja/Nein in the confirmations) in the user's language.
    auto* translator = new QTranslator(qApp);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    } else {
        delete translator;
    }
    // Before any control is asked for its description.
    installAccessibleFactories(QString::fromLatin1(MainWindow::staticMetaObject.className()));
    return std::make_unique<MainWindow>(random, QLocale().decimalPoint(), appDir);
}

} // namespace cr::ui
