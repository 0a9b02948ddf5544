// SPDX-License-Identifier: GPL-3.0-or-later
#include "dump.h"

#include "core/run.h"
#include "jsonwriter.h"
#include "ui/common/statuslabel.h"
#include "ui/files/importchooser.h"
#include "ui/grid/resultgridmodel.h"
#include "ui/live/journalkeeper.h"
#include "ui/live/livepanel.h"
#include "ui/main/mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTextEdit>

namespace cr::scenario {

namespace {

const char* const kControlNames[] = {
    "Label1",     "Label2",     "Label3",          "Label4",   "Label5",   "Label6",
    "Label7",     "Label8",     "Label9",          "Label10",  "Label11",  "Label12",
    "Label13",    "Label14",    "Label15",         "Label16",  "text",     "labtempa",
    "labtempb",   "labtempc",   "labtempd",        "labtempe", "labtempf", "labstat",
    "textanzahl", "textakut",   "textwiederhol",   "textstep", "okstart",  "okweiter",
    "okstep",     "okreset",    "okclip",          "okinfo",   "okextern", "okabbrechen",
    "okende",     "okexternok", "okexternabbruch", "Frame1",   "infotext", "tabelle2",
};

QString shownText(const QWidget* widget) {
    if (auto* status = dynamic_cast<const ui::StatusLabel*>(widget)) {
        return status->statusText();
    }
    if (auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* frame = qobject_cast<const QGroupBox*>(widget)) {
        return frame->title();
    }
    if (auto* rich = qobject_cast<const QTextEdit*>(widget)) {
        return rich->toPlainText();
    }
    return {};
}

void writeControls(JsonWriter& json, const ui::MainWindow& window) {
    json.beginObject();
    for (const char* name : kControlNames) {
        const QWidget* widget = window.findChild<QWidget*>(name);
        if (!widget) {
            continue;
        }
        json.key(name);
        json.beginObject();
        json.key("text");
        json.value(shownText(widget));
        json.key("enabled");
        json.value(widget->isEnabled());
        json.key("visible");
        json.value(widget->isVisible());
        json.key("tooltip");
        json.value(widget->toolTip());
        json.endObject();
        if (name == std::string_view("textstep")) {
            json.key("cliptext");
            json.beginObject();
            json.key("text");
            json.value(window.cliptext());
            json.key("enabled");
            json.value(true);
            json.key("visible");
            json.value(false);
            json.key("tooltip");
            json.value("");
            json.endObject();
        }
    }
    json.endObject();
}

void writeGrid(JsonWriter& json, const ui::ResultGridModel& model) {
    json.beginObject();
    json.key("rows");
    json.value(model.rowCount());
    json.key("cells");
    json.beginArray();
    for (int r = 0; r < model.rowCount(); ++r) {
        json.beginArray();
        for (int c = 0; c < model.columnCount(); ++c) {
            const QModelIndex at = model.index(r, c);
            json.beginArray();
            json.value(at.data(Qt::DisplayRole).toString());
            json.value(at.data(Qt::BackgroundRole).value<QColor>().name());
            json.endArray();
        }
        json.endArray();
    }
    json.endArray();
    json.endObject();
}

void writeChooser(JsonWriter& json, const ui::MainWindow& window) {
    const ui::ImportChooser& chooser = window.chooser();
    json.beginObject();
    json.key("drive");
    json.value(chooser.currentDrive());
    json.key("dir");
    json.value(chooser.directory());
    json.key("files");
    json.beginArray();
    for (const QString& name : chooser.files()) {
        json.value(name);
    }
    json.endArray();
    json.key("selected");
    const QString selected = chooser.selectedFile();
    selected.isEmpty() ? json.null() : json.value(selected);
    json.endObject();
}

void writeDialogs(JsonWriter& json, const std::vector<DialogRecord>& dialogs) {
    json.beginArray();
    for (const DialogRecord& d : dialogs) {
        json.beginObject();
        json.key("title");
        json.value(d.title);
        json.key("text");
        json.value(d.text);
        json.key("icon");
        json.value(d.icon);
        json.key("buttons");
        json.beginArray();
        for (const QString& b : d.buttons) {
            json.value(b);
        }
        json.endArray();
        json.key("default");
        json.value(d.defaultButton);
        json.key("answer");
        json.value(d.answer);
        json.endObject();
    }
    json.endArray();
}

void writeFieldTable(JsonWriter& json, const FieldTable& table) {
    json.beginArray();
    for (const auto& row : table) {
        json.beginArray();
        json.value(row[1]);
        json.value(row[2]);
        json.endArray();
    }
    json.endArray();
}

void writeState(JsonWriter& json, const RunState& s) {
    json.beginObject();
    json.key("anzahl");
    json.value(s.anzahl);
    json.key("permanzahl");
    json.value(s.permanzahl);
    const std::pair<const char*, int> integers[] = {
        {"steprate", s.steprate},
        {"modus", static_cast<int>(s.modus)},
        {"zahl", s.zahl},
        {"akut", s.akut},
        {"zeile", s.zeile},
        {"schritt", s.schritt},
        {"serie", static_cast<int>(s.serie)},
        {"leerrs", s.leerrs},
        {"leermp", s.leermp},
        {"leergu", s.leergu},
        {"einmalrs", s.einmalrs},
        {"einmalmp", s.einmalmp},
        {"einmalgu", s.einmalgu},
        {"statwert", s.statwert},
        {"statzeile", s.statzeile},
    };
    for (const auto& [name, value] : integers) {
        json.key(name);
        json.value(value);
    }
    json.key("zahlen");
    json.beginArray();
    for (int cell : s.zahlen) {
        cell < 0 ? json.null() : json.value(cell);
    }
    json.endArray();
    json.key("permanenz");
    json.beginArray();
    for (double cell : s.permanenz) {
        isEmptyCell(cell) ? json.null() : json.value(cell);
    }
    json.endArray();
    json.key("feldrs");
    writeFieldTable(json, s.feldrs);
    json.key("feldmp");
    writeFieldTable(json, s.feldmp);
    json.key("feldgu");
    writeFieldTable(json, s.feldgu);
    json.key("feldtitel");
    json.beginArray();
    for (const auto& row : s.feldtitel) {
        json.beginArray();
        for (const std::string& text : row) {
            json.value(std::string_view(text));
        }
        json.endArray();
    }
    json.endArray();
    json.endObject();
}

// The focus widget, or the named control it belongs to.
QString focusName(const ui::MainWindow& window, bool closed) {
    if (closed) {
        return {};
    }
    for (QWidget* w = QApplication::focusWidget(); w && w != &window; w = w->parentWidget()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"))) {
            return w->objectName();
        }
    }
    return {};
}

// The live entry's controls and numbers, under a key of their own.
void writeLive(JsonWriter& json, const ui::MainWindow& window) {
    const ui::LivePanel& panel = window.livePanel();
    json.key("live");
    json.beginObject();
    json.key("entry");
    json.beginObject();
    json.key("text");
    json.value(panel.entryBox()->text());
    json.key("enabled");
    json.value(panel.entryBox()->isEnabled());
    json.endObject();
    json.key("undo");
    json.value(panel.undoButton()->isEnabled());
    json.key("redo");
    json.value(panel.redoButton()->isEnabled());
    json.key("progress");
    json.value(panel.progressText());
    json.key("last");
    json.value(panel.lastText());
    json.key("numbers");
    json.beginArray();
    for (const int n : window.run().liveNumbers()) {
        json.value(n);
    }
    json.endArray();
    json.key("journal");
    json.value(!window.journal().path().isEmpty());
    json.endObject();
}

} // namespace

std::string dumpJson(const ui::MainWindow& window, bool closed,
                     const std::vector<DialogRecord>& dialogs, const std::string& systemtest) {
    JsonWriter json;
    json.beginObject();
    json.key("title");
    json.value(window.windowTitle());
    json.key("closed");
    json.value(closed);
    json.key("focus");
    const QString focus = focusName(window, closed);
    focus.isEmpty() ? json.null() : json.value(focus);
    json.key("controls");
    writeControls(json, window);
    json.key("grid");
    writeGrid(json, window.gridModel());
    json.key("chooser");
    writeChooser(json, window);
    json.key("clipboard");
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    mime && mime->hasText() ? json.value(mime->text()) : json.null();
    json.key("dialogs");
    writeDialogs(json, dialogs);
    json.key("state");
    writeState(json, window.run().state());
    if (!systemtest.empty()) {
        json.key("systemtest");
        json.raw(systemtest);
    }
    if (window.run().live()) {
        writeLive(json, window);
    }
    json.endObject();
    return json.str();
}

} // namespace cr::scenario
