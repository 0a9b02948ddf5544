#include "ui/stepsaver.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSaveFile>

namespace cr::ui {

namespace {

const char* const kDialogTitle = "Alle Steps speichern";
const char* const kFilter = "Textdateien (*.txt);;Alle Dateien (*)";
const char* const kDefaultName = "Verlauf.txt";
const char* const kFailure = "Die Datei\n%1\nkonnte nicht gespeichert werden:\n%2\n\n"
                             "Eine schon vorhandene Datei dieses Namens ist unverändert.";

} // namespace

WriteResult writeWholeFile(const QString& path, std::string_view text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {false, file.errorString()};
    }
    const auto size = static_cast<qint64>(text.size());
    if (file.write(text.data(), size) != size) {
        const QString error = file.errorString();
        file.cancelWriting();
        return {false, error};
    }
    if (!file.commit()) {
        return {false, file.errorString()};
    }
    return {true, {}};
}

bool saveAllSteps(QWidget* parent, std::string_view text) {
    const QString title = QString::fromUtf8(kDialogTitle);
    const QString path = QFileDialog::getSaveFileName(
        parent, title, QDir::home().filePath(QString::fromUtf8(kDefaultName)),
        QString::fromUtf8(kFilter));
    if (path.isEmpty()) {
        return false;
    }
    const WriteResult result = writeWholeFile(path, text);
    if (!result.ok) {
        QMessageBox::warning(
            parent, title,
            QString::fromUtf8(kFailure).arg(QDir::toNativeSeparators(path), result.error));
    }
    return result.ok;
}

} // namespace cr::ui
