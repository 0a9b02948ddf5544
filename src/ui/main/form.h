// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/controls.h"

#include <QStringList>
#include <map>

class QLineEdit;
class QPushButton;
class QTextEdit;
class QWidget;

namespace cr::ui {

class ImportChooser;
class ResultGridModel;
class ResultGridView;

// The controls of the window, as built from the form's table.
struct Form {
    std::map<Control, QWidget*> widgets; // every control the run writes to

    struct Boxes {
        QLineEdit* anzahl = nullptr;
        QLineEdit* akut = nullptr;
        QLineEdit* wiederhol = nullptr;
        QLineEdit* step = nullptr;
    } boxes;
    struct Buttons {
        QPushButton* start = nullptr;
        QPushButton* weiter = nullptr;
        QPushButton* step = nullptr;
        QPushButton* reset = nullptr;
        QPushButton* clip = nullptr;
        QPushButton* info = nullptr;
        QPushButton* import = nullptr;
        QPushButton* abbrechen = nullptr;
        QPushButton* ende = nullptr;
    } buttons;
    ResultGridView* grid = nullptr;
    QTextEdit* infotext = nullptr;
    ImportChooser* chooser = nullptr;
};

// Builds every control, heading, line and frame of the window at its place,
// with its caption, tool tip, font and colours, in the states the window
// shows before start-up, and sets the tab order.
Form buildForm(QWidget* window, ResultGridModel* gridModel);

// Every line the program itself writes into the status label.
QStringList ownStatusLines();

} // namespace cr::ui
