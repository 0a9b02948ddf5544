// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/files/runfiles.h"

#include "core/numparse.h"
#include "core/run.h"
#include "core/runfile.h"
#include "io/cp1252.h"
#include "io/file_read.h"
#include "ui/files/stepsaver.h"

#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

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

const char* const kFirstSpinTip = "Die Nummer des Wurfs, ab dem die Datei nachgespielt wird: "
                                  "eine ganze Zahl von 1 bis %1.";
const QColor kProblemRed{176, 0, 0};

QString nameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

// The question from which spin a long file is replayed. The box takes the
// answer as typed, however long: an answer that is no spin of the file is
// not changed into one, OK stays disabled and a red line says why.
class FirstSpinQuestion final : public QDialog {
public:
    FirstSpinQuestion(QWidget* parent, long long total, long long last)
        : QDialog(parent), m_last(last) {
        setObjectName(QStringLiteral("firstSpinQuestion"));
        setWindowTitle(QString::fromUtf8(kOpenTitle));
        const QLocale locale;
        auto* question = new QLabel(QString::fromUtf8(kAskFirst).arg(total), this);
        question->setObjectName(QStringLiteral("firstSpinText"));
        m_box = new QLineEdit(QStringLiteral("1"), this);
        m_box->selectAll(); // typing replaces the offer
        m_box->setToolTip(QString::fromUtf8(kFirstSpinTip).arg(locale.toString(last)));
        question->setBuddy(m_box);
        m_why = new QLabel(this);
        m_why->setObjectName(QStringLiteral("firstSpinProblem"));
        m_why->setWordWrap(true);
        QPalette red = m_why->palette();
        red.setColor(QPalette::WindowText, kProblemRed);
        m_why->setPalette(red);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        m_ok = buttons->button(QDialogButtonBox::Ok);
        m_ok->setText(QStringLiteral("OK"));
        buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(question);
        layout->addWidget(m_box);
        layout->addWidget(m_why);
        layout->addWidget(buttons);
        layout->setSizeConstraint(QLayout::SetFixedSize); // grows with the red line, never cuts
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(m_box, &QLineEdit::textChanged, this, [this] { check(); });
        check();
    }
    std::optional<long long> spin() const { return m_answer.spin; }

private:
    void check() {
        const QLocale locale;
        m_answer = readFirstSpinAnswer(m_box->text().toStdString(), m_last, [&locale](long long n) {
            return locale.toString(n).toStdString();
        });
        const QString why = QString::fromStdString(m_answer.problem);
        m_why->setText(why);
        m_why->setVisible(!why.isEmpty());
        m_box->setAccessibleDescription(why);
        m_ok->setEnabled(m_answer.spin.has_value());
    }

    long long m_last;
    QLineEdit* m_box = nullptr;
    QLabel* m_why = nullptr;
    QPushButton* m_ok = nullptr;
    FirstSpinAnswer m_answer;
};

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
    FirstSpinQuestion question(m_window, total, last);
    return question.exec() == QDialog::Accepted ? question.spin() : std::nullopt;
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
    } else if (m_onSaved) {
        m_onSaved();
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
