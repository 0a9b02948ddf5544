#pragma once

#include <QString>
#include <string_view>

class QWidget;

namespace cr::ui {

struct WriteResult {
    bool ok = false;
    QString error; // why not, when !ok
};

// Writes the whole text to path or leaves path as it was: the text goes into
// a temporary file beside it, which replaces path only once it is complete.
WriteResult writeWholeFile(const QString& path, std::string_view text);

// "Alle Steps speichern …": asks where to, then writes the text there; a
// failure is reported in a message box. Returns whether a file was written.
bool saveAllSteps(QWidget* parent, std::string_view text);

} // namespace cr::ui
