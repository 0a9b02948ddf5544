// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <string_view>

class QWidget;

namespace cr::ui {

struct WriteResult {
    bool ok = false;
    QString error; // what happened, in German, when !ok
};

// Writes the whole text to path or leaves path as it was (io::saveWholeFile):
// the text goes into a temporary file beside it, which replaces path only
// once it is complete. A device or FIFO under the name is never written.
WriteResult writeWholeFile(const QString& path, std::string_view text);

// Where "Alle Steps speichern …" saves: the file the user picks in its
// dialog (which asks before it overwrites), or an empty name when the user
// cancels. The scenario runner puts its own choice in its place.
using SavePathChooser = std::function<QString(QWidget* parent)>;
void setSavePathChooser(SavePathChooser chooser); // an empty one restores the dialog

// "Alle Steps speichern …": asks where to, then writes the text there; a
// failure is reported in a message box. Returns whether a file was written.
bool saveAllSteps(QWidget* parent, std::string_view text);

} // namespace cr::ui
