// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/files/runfiles.h"

#include "core/run.h"
#include "core/runfile.h"
#include "io/cp1252.h"
#include "io/file_read.h"
#include "ui/files/stepsaver.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace cr::ui {

namespace {

const char* const kOpenTitle = "Permanenz öffnen";
const char* const kSaveTitle = "Lauf als Permanenz speichern";
const char* const kFilter = "Permanenzen (*.txt *.csv);;Alle Dateien (*)";
const char* const kCannotOpen = "Die Datei\n%1\nkann nicht geöffnet werden:\n%2";
const char* const kOnlyBeforeStart =
    "Eine Permanenz kann nur vor dem Start eines Laufs geöffnet werden.\n"
    "Bitte zuerst \u201eAbbruch\u201c drücken.";
const char* const kAskFirst = "Die Datei hat %1 Würfe.\nAb welchem Wurf soll sie nachgespielt "
                              "werden?\n\nab Wurf";
const char* const kDefaultName = "Lauf.txt";

QString nameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

RunFiles::RunFiles(QWidget* window, const RunControl& run, Apply apply)
    : m_window(window), m_run(run), m_apply(std::move(apply)) {}

void RunFiles::open(const QString& path, std::optional<long long> from) {
    if (!m_run.importUsable()) {
        return;
    }
    const std::string native = QFile::encodeName(path).toStdString();
    const std::string name = nameOf(path).toStdString();
    io::FileRead file = io::readFile(native, kMostReplayedSpins);
    if (explainUnreadable(path, file.problem)) {
        return;
    }
    if (const std::optional<long long> last = lastFirstSpin(file.read.permanence)) {
        const auto total = static_cast<long long>(file.read.permanence.count);
        const std::optional<long long> first = from ? from : askFirstSpin(total, *last);
        if (!first) {
            return; // the question was cancelled: nothing changes
        }
        if (*first != 1) {
            file = io::readFile(native, kMostReplayedSpins, *first);
            if (explainUnreadable(path, file.problem)) {
                return;
            }
        }
    }
    const bool withHeader = file.read.layout == io::SpinLayout::Permanence;
    m_apply([&](RunControl& run) { run.applyOpened(file.read.permanence, name, withHeader); });
    if (!m_run.importUsable()) { // taken over
        m_openedPath = path;
    }
}

void RunFiles::openDropped(const QString& path) {
    if (!m_run.importUsable()) {
        QMessageBox::information(m_window, QString::fromUtf8(kOpenTitle),
                                 QString::fromUtf8(kOnlyBeforeStart));
        return;
    }
    open(path);
}

// A file that is neither layout, or cannot be read, gets a message and
// changes nothing; true when it was such a file. A refused spin further in
// goes to the run, which names it in the status label.
bool RunFiles::explainUnreadable(const QString& path, const std::optional<ReadProblem>& problem) {
    if (!problem || !refusesWholeFile(*problem)) {
        return false;
    }
    const QString why = QString::fromUtf8(readMessage(*problem, Language::German));
    QMessageBox::warning(m_window, QString::fromUtf8(kOpenTitle),
                         QString::fromUtf8(kCannotOpen).arg(QDir::toNativeSeparators(path), why));
    return true;
}

std::optional<long long> RunFiles::askFirstSpin(long long total, long long last) {
    bool ok = false;
    const int first = QInputDialog::getInt(m_window, QString::fromUtf8(kOpenTitle),
                                           QString::fromUtf8(kAskFirst).arg(total), 1, 1,
                                           static_cast<int>(last), 1, &ok);
    return ok ? std::optional<long long>(first) : std::nullopt;
}

bool RunFiles::saveRun(const QString& path) {
    if (!m_run.runStarted()) {
        return false;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const QString when = now.toString(QStringLiteral("dd.MM.yyyy 'um' HH:mm 'Uhr'"));
    const std::string text =
        runAsPermanence(m_run.origin(), when.toStdString(), m_run.takenSpins());
    const WriteResult result = writeWholeFile(path, io::encodeWindows1252(text));
    if (!result.ok) {
        QMessageBox::warning(m_window, QString::fromUtf8(kSaveTitle), result.error);
    }
    return result.ok;
}

void RunFiles::chooseAndOpen() {
    const QString path = QFileDialog::getOpenFileName(
        m_window, QString::fromUtf8(kOpenTitle), QDir::currentPath(), QString::fromUtf8(kFilter));
    if (!path.isEmpty()) {
        open(path);
    }
}

void RunFiles::chooseAndSave() {
    const QString path = QFileDialog::getSaveFileName(
        m_window, QString::fromUtf8(kSaveTitle),
        QDir::home().filePath(QString::fromUtf8(kDefaultName)), QString::fromUtf8(kFilter));
    if (!path.isEmpty()) {
        saveRun(path);
    }
}

} // namespace cr::ui
