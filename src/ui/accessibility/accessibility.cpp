// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessibility/accessibility.h"

#include "ui/accessibility/announce.h"
#include "ui/accessibility/coverwatch.h"
#include "ui/accessibility/gridaccessible.h"
#include "ui/accessibility/gridannouncer.h"
#include "ui/accessibility/listaccessible.h"
#include "ui/common/decorations.h"
#include "ui/files/importchooser.h"
#include "ui/grid/resultgridview.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QScrollBar>
#include <QStringList>
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

// The window as a screen reader walks it: the drawn lines and outlines are
// no controls, and a control under an open cover is out of view.
class WindowAccessible final : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> shown = children();
        return index >= 0 && index < shown.size()
                   ? QAccessible::queryAccessibleInterface(shown.at(index))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() ? static_cast<int>(children().indexOf(child->object()))
                                        : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QList<QWidget*> shown = children();
        for (auto it = shown.crbegin(); it != shown.crend(); ++it) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(*it);
            if (iface && !iface->state().invisible && iface->rect().contains(x, y)) {
                return iface;
            }
        }
        return nullptr;
    }

private:
    QList<QWidget*> children() const {
        QList<QWidget*> shown;
        for (QObject* object : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(object);
            if (w && !w->isWindow() && !dynamic_cast<LineWidget*>(w) &&
                !dynamic_cast<OutlineWidget*>(w) && !CoverWatch::isCovered(w)) {
                shown << w;
            }
        }
        return shown;
    }
};

// A drop-down's list lies in a window of its own, whose parent is the drop-down.
bool inImportChooser(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        if (qobject_cast<const ImportChooser*>(widget)) {
            return true;
        }
    }
    return false;
}

// The class of the program's window, as the window's builder names it.
QString& windowClassName() {
    static QString name;
    return name;
}

QAccessibleInterface* makeAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String(object->metaObject()->className())) {
        return nullptr; // only the object's own class decides
    }
    if (auto* grid = dynamic_cast<ResultGridView*>(object)) {
        return new GridAccessible(grid);
    }
    if (auto* list = qobject_cast<QListView*>(object); list && inImportChooser(list)) {
        return new ListAccessible(list);
    }
    if (className == windowClassName() && object->isWidgetType()) {
        return new WindowAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

// The parts a scroll area is built of (its viewport, the holders of its
// scroll bars and the bars) appear to a screen reader as controls too.
void nameScrollParts(QWidget* window) {
    for (QAbstractScrollArea* area : window->findChildren<QAbstractScrollArea*>()) {
        area->viewport()->setAccessibleName(area->accessibleName());
        for (QScrollBar* bar : area->findChildren<QScrollBar*>()) {
            const QString name = bar->orientation() == Qt::Vertical
                                     ? QStringLiteral("Bildlaufleiste senkrecht")
                                     : QStringLiteral("Bildlaufleiste waagerecht");
            bar->setAccessibleName(name);
            if (bar->parentWidget() != area) {
                bar->parentWidget()->setAccessibleName(name);
            }
        }
    }
}

// On Linux a screen reader names a drop-down list by its value and finds
// what it is for in the label that belongs to it.
void labelDriveList(QWidget* chooser) {
    auto* drives = chooser->findChild<QComboBox*>(QStringLiteral("Drive1"));
    if (!drives) {
        return;
    }
    auto* label = new QLabel(QStringLiteral("Laufwerk"), chooser);
    label->setBuddy(drives);
    label->hide();
    drives->view()->setAccessibleName(QStringLiteral("Laufwerke"));
}

bool endsSentence(const QString& line) {
    return line.endsWith(QLatin1Char('.')) || line.endsWith(QLatin1Char('!')) ||
           line.endsWith(QLatin1Char('?'));
}

} // namespace

void installAccessibleFactories(const QString& windowClass) {
    windowClassName() = windowClass;
    static const bool installed = [] {
        QAccessible::installFactory(&makeAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

QString spokenStatus(const QString& text) {
    QString spoken;
    for (const QString& raw : text.split(QLatin1Char('\r'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty()) {
            continue;
        }
        if (spoken.endsWith(QLatin1Char('-'))) {
            if (line.front().isLower()) {
                spoken.chop(1); // "Spiel-" "bank" is one word, "Step-" "Rate" keeps its hyphen
            }
        } else if (!spoken.isEmpty()) {
            spoken += QLatin1Char(' ');
        }
        spoken += line;
    }
    if (!spoken.isEmpty() && !endsSentence(spoken)) {
        if (spoken.endsWith(QLatin1Char(',')) || spoken.endsWith(QLatin1Char(':'))) {
            spoken.chop(1);
        }
        spoken += QLatin1Char('.');
    }
    return spoken;
}

void refreshAccessibleName(QWidget* widget, const QString& shownText) {
    const QString base = widget->property(kBaseName).toString();
    if (base.isEmpty()) {
        return;
    }
    const bool status = widget->objectName() == QLatin1String("text");
    const QString content = status ? spokenStatus(shownText) : shownText;
    const QString name = content.isEmpty() ? base : base + QStringLiteral(": ") + content;
    if (name != widget->accessibleName()) {
        widget->setAccessibleName(name); // the toolkit tells the bridge of the new name
        QAccessibleEvent changed(widget, QAccessible::NameChanged);
        announceToListener(&changed);
    }
}

void describeForScreenReaders(QWidget* window, const QString& windowClass) {
    installAccessibleFactories(windowClass);
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
    auto* grid = window->findChild<ResultGridView*>(QStringLiteral("tabelle2"));
    auto* infotext = window->findChild<QWidget*>(QStringLiteral("infotext"));
    auto* chooser = window->findChild<QWidget*>(QStringLiteral("Frame1"));
    if (grid) {
        new GridAnnouncer(grid);
    }
    if (infotext) {
        new CoverWatch(infotext, window->findChild<QWidget*>(QStringLiteral("okinfo")), infotext);
    }
    nameScrollParts(window);
    if (chooser) {
        labelDriveList(chooser);
        new CoverWatch(chooser, window->findChild<QWidget*>(QStringLiteral("okextern")),
                       chooser->findChild<QWidget*>(QStringLiteral("Drive1")));
    }
}

} // namespace cr::ui
