// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/files/runfiles.h"

#include "core/run.h"
#include "core/runfile.h"
#include "io/cp1252.h"
#include "io/fields.h"
#include "io/spin_file.h"
#include "ui/files/stepsaver.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <cstring>

namespace cr::ui {

namespace {

const char* const kOpenTitle = "Permanenz öffnen";
const char* const kSaveTitle = "Lauf als Permanenz speichern";
const char* const kFilter = "Permanenzen (*.txt *.csv);;Alle Dateien (*)";
const char* const kCannotOpen = "Die Datei\n%1\nkann nicht geöffnet werden:\n%2";
const char* const kEmpty = "Sie ist leer.";
const char* const kNeither =
    "Sie ist weder eine Permanenz (erste Angabe \u201eSpielbank \u2026\u201c) noch eine Liste "
    "von Zahlen.";
const char* const kEndsInHeader = "Sie endet schon im Kopf der Permanenz.";
const char* const kNotRegular = "Unter diesem Namen steht keine gewöhnliche Datei.";
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
    io::FileSource source(native);
    io::SpinFileOutcome read = io::readSpinFile(source, kMostReplayedSpins);
    if (explainUnreadable(path, read.permanence, source.error(), source.notRegular())) {
        return;
    }
    const auto total = static_cast<long long>(read.permanence.count);
    if (read.permanence.kind == PermanenceOutcome::Kind::Read && total > kMostReplayedSpins) {
        const std::optional<long long> first = from ? from : askFirstSpin(total);
        if (!first) {
            return; // the question was cancelled: nothing changes
        }
        if (*first != 1) {
            io::FileSource again(native);
            read = io::readSpinFile(again, kMostReplayedSpins, *first);
            if (explainUnreadable(path, read.permanence, again.error(), again.notRegular())) {
                return;
            }
        }
    }
    const bool withHeader = read.layout == io::SpinLayout::Permanence;
    m_apply([&](RunControl& run) { run.applyOpened(read.permanence, name, withHeader); });
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
// changes nothing; true when it was such a file.
bool RunFiles::explainUnreadable(const QString& path, const PermanenceOutcome& outcome, int error,
                                 bool notRegular) {
    using Kind = PermanenceOutcome::Kind;
    QString why;
    if (outcome.kind == Kind::EmptyFile) {
        why = QString::fromUtf8(kEmpty);
    } else if (outcome.kind == Kind::ReadFailure) {
        why = notRegular ? QString::fromUtf8(kNotRegular)
              : error    ? QString::fromLocal8Bit(std::strerror(error)) + QLatin1Char('.')
                         : QString::fromUtf8(kEndsInHeader);
    } else if (outcome.kind == Kind::Refused && outcome.refusedSpin == 1 &&
               outcome.refusal != PermanenceOutcome::Refusal::OutOfRange &&
               outcome.header.empty()) {
        why = QString::fromUtf8(kNeither); // the very first field is no number
    } else {
        return false;
    }
    QMessageBox::warning(m_window, QString::fromUtf8(kOpenTitle),
                         QString::fromUtf8(kCannotOpen).arg(QDir::toNativeSeparators(path), why));
    return true;
}

std::optional<long long> RunFiles::askFirstSpin(long long total) {
    bool ok = false;
    const int largest = static_cast<int>(std::min<long long>(total, 2147483647));
    const int first =
        QInputDialog::getInt(m_window, QString::fromUtf8(kOpenTitle),
                             QString::fromUtf8(kAskFirst).arg(total), 1, 1, largest, 1, &ok);
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
