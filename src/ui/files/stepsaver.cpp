// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/files/stepsaver.h"

#include "io/safe_save.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <cstring>

namespace cr::ui {

namespace {

const char* const kDialogTitle = "Alle Steps speichern";
const char* const kFilter = "Textdateien (*.txt);;Alle Dateien (*)";
const char* const kDefaultName = "Verlauf.txt";
const char* const kFailure = "Die Datei\n%1\nkonnte nicht gespeichert werden:\n%2\n\n"
                             "Eine schon vorhandene Datei dieses Namens ist unverändert.";
const char* const kNotRegular = "Die Datei\n%1\nwurde nicht gespeichert:\n"
                                "Unter diesem Namen steht keine gewöhnliche Datei, sondern "
                                "ein Gerät, eine Pipe oder ein Ordner.\n\nDort wurde nichts "
                                "geschrieben.";

SavePathChooser& pathChooser() {
    static SavePathChooser chooser;
    return chooser;
}

QString askForPath(QWidget* parent) {
    return QFileDialog::getSaveFileName(parent, QString::fromUtf8(kDialogTitle),
                                        QDir::home().filePath(QString::fromUtf8(kDefaultName)),
                                        QString::fromUtf8(kFilter));
}

// The step that failed, and the system's reason, in a line.
QString reason(const io::SaveOutcome& outcome) {
    using Step = io::SaveOutcome::Step;
    const char* step = "";
    switch (outcome.step) {
    case Step::Create:
        step = "Die Zwischendatei im selben Ordner ließ sich nicht anlegen";
        break;
    case Step::Write:
        step = "Das Schreiben der Zwischendatei schlug fehl";
        break;
    case Step::Sync:
    case Step::Close:
        step = "Die Zwischendatei ließ sich nicht vollständig auf den Datenträger bringen";
        break;
    case Step::Rename:
        step = "Die Zwischendatei ließ sich nicht an die Stelle der Datei setzen";
        break;
    case Step::Done:
    case Step::NotRegular:
        break;
    }
    return QString::fromUtf8(step) + QStringLiteral(" (") +
           QString::fromLocal8Bit(std::strerror(outcome.error)) + QStringLiteral(").");
}

} // namespace

WriteResult writeWholeFile(const QString& path, std::string_view text) {
    const io::SaveOutcome outcome = io::saveWholeFile(QFile::encodeName(path).toStdString(), text);
    if (outcome.ok()) {
        return {true, {}};
    }
    const QString shown = QDir::toNativeSeparators(path);
    if (outcome.step == io::SaveOutcome::Step::NotRegular) {
        return {false, QString::fromUtf8(kNotRegular).arg(shown)};
    }
    return {false, QString::fromUtf8(kFailure).arg(shown, reason(outcome))};
}

void setSavePathChooser(SavePathChooser chooser) {
    pathChooser() = std::move(chooser);
}

bool saveAllSteps(QWidget* parent, std::string_view text) {
    const QString path = pathChooser() ? pathChooser()(parent) : askForPath(parent);
    if (path.isEmpty()) {
        return false;
    }
    const WriteResult result = writeWholeFile(path, text);
    if (!result.ok) {
        QMessageBox::warning(parent, QString::fromUtf8(kDialogTitle), result.error);
    }
    return result.ok;
}

} // namespace cr::ui
