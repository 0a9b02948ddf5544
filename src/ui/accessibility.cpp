#include "ui/accessibility.h"

#include <QString>
#include <QVariant>
#include <QWidget>

namespace cr::ui {

namespace {

struct Name {
    const char* control;
    const char* name;
};

// Controls whose caption is missing, spaced out or only a number.
const Name kNames[] = {
    {"textanzahl", "Anzahl Würfe"},
    {"textakut", "Akut: Laufnummer des aktuellen Wurfes"},
    {"textwiederhol", "Step-Rate"},
    {"textstep", "Step: Laufnummer des aktuellen Steps"},
    {"okstep", "Step"},
    {"text", "Statusmeldung"},
    {"labtempa", "Leer Rot/Schwarz"},
    {"labtempb", "Leer Manque/Passe"},
    {"labtempc", "Leer Gerade/Ungerade"},
    {"labtempd", "1x (rot) Rot/Schwarz"},
    {"labtempe", "1x (rot) Manque/Passe"},
    {"labtempf", "1x (rot) Gerade/Ungerade"},
    {"labstat", "Statistisch"},
    {"tabelle2", "Würfe des aktuellen Steps"},
    {"infotext", "Infotext"},
    {"Frame1", "Import Permanenz"},
    {"Drive1", "Laufwerk"},
    {"Dir1", "Verzeichnis"},
    {"File1", "Dateien (*.txt)"},
    {"okexternabbruch", "Abbrechen"},
    {"Label10", "Dateimuster *.txt"},
};

constexpr const char* kBaseName = "accessibleBaseName";

bool showsContent(const QWidget* w) {
    const QString name = w->objectName();
    return name == QLatin1String("text") || name == QLatin1String("labstat") ||
           name.startsWith(QLatin1String("labtemp"));
}

} // namespace

void refreshAccessibleName(QWidget* widget, const QString& shownText) {
    const QString base = widget->property(kBaseName).toString();
    if (base.isEmpty()) {
        return;
    }
    QString content = shownText;
    content.replace(QLatin1Char('\r'), QStringLiteral(", "));
    widget->setAccessibleName(content.isEmpty() ? base : base + QStringLiteral(": ") + content);
}

void describeForScreenReaders(QWidget* window) {
    window->setAccessibleName(QStringLiteral("Chancenraster"));
    for (const Name& n : kNames) {
        if (auto* w = window->findChild<QWidget*>(QString::fromLatin1(n.control))) {
            w->setAccessibleName(QString::fromUtf8(n.name));
            if (showsContent(w)) {
                w->setProperty(kBaseName, w->accessibleName());
            }
        }
    }
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->toolTip().isEmpty()) {
            w->setAccessibleDescription(w->toolTip());
        }
    }
}

} // namespace cr::ui
