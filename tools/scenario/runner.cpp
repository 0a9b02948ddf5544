// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner.h"

#include "dump.h"
#include "ui/application.h"
#include "ui/importchooser.h"
#include "ui/mainwindow.h"
#include "ui/runmenu.h"
#include "ui/stepsaver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <charconv>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

namespace cr::scenario {

namespace {

const std::set<std::string> kBoxes{"textanzahl", "textakut", "textwiederhol", "textstep"};
const std::set<std::string> kButtons{"okstart", "okweiter",   "okstep",         "okreset",
                                     "okclip",  "okinfo",     "okextern",       "okabbrechen",
                                     "okende",  "okexternok", "okexternabbruch"};

// Splits "word rest" at the first blank; the rest stays verbatim.
std::pair<std::string, std::string> splitWord(const std::string& line) {
    const auto blank = line.find(' ');
    if (blank == std::string::npos) {
        return {line, std::string()};
    }
    return {line.substr(0, blank), line.substr(blank + 1)};
}

std::optional<long long> wholeNumber(const std::string& text) {
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

QString iconName(QMessageBox::Icon icon) {
    switch (icon) {
    case QMessageBox::Question:
        return QStringLiteral("question");
    case QMessageBox::Information:
        return QStringLiteral("information");
    case QMessageBox::Warning:
        return QStringLiteral("warning");
    case QMessageBox::Critical:
        return QStringLiteral("critical");
    default:
        return QStringLiteral("none");
    }
}

QString buttonName(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Yes:
        return QStringLiteral("Yes");
    case QMessageBox::No:
        return QStringLiteral("No");
    case QMessageBox::Ok:
        return QStringLiteral("Ok");
    case QMessageBox::Cancel:
        return QStringLiteral("Cancel");
    default:
        return QStringLiteral("Other");
    }
}

} // namespace

// Answers every message box as it appears, with the next queued answer.
class Runner::DialogWatcher final : public QObject {
public:
    explicit DialogWatcher(Runner& runner) : m_runner(runner) {}

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(object)) {
                m_runner.watchDialog(box);
            }
        }
        return false;
    }

private:
    Runner& m_runner;
};

Runner::Runner() : m_watcher(std::make_unique<DialogWatcher>(*this)) {
    qApp->installEventFilter(m_watcher.get());
}

Runner::~Runner() {
    qApp->removeEventFilter(m_watcher.get());
    m_window.reset();
}

void Runner::watchDialog(QMessageBox* box) {
    DialogRecord record;
    record.title = box->windowTitle();
    record.text = box->text();
    record.icon = iconName(box->icon());
    for (QAbstractButton* b : box->buttons()) {
        record.buttons << buttonName(box->standardButton(b));
    }
    std::sort(record.buttons.begin(), record.buttons.end(),
              [](const QString& a, const QString& b) { return a == "Yes" && b != "Yes"; });
    if (box->defaultButton()) {
        record.defaultButton = buttonName(box->standardButton(box->defaultButton()));
    }
    QAbstractButton* target = nullptr;
    if (box->button(QMessageBox::Yes) || box->button(QMessageBox::No)) {
        record.yes = !m_answers.empty() && m_answers.front();
        if (!m_answers.empty()) {
            m_answers.pop_front();
        }
        record.answer = record.yes ? QStringLiteral("yes") : QStringLiteral("no");
        target = box->button(record.yes ? QMessageBox::Yes : QMessageBox::No);
    } else {
        // A message with nothing to decide: its only button is pressed.
        target = box->defaultButton() ? box->defaultButton() : box->buttons().value(0);
        record.answer = target ? buttonName(box->standardButton(target)).toLower() : QString();
    }
    m_dialogs.push_back(record);
    QPointer<QAbstractButton> guarded(target);
    QTimer::singleShot(0, box, [guarded] {
        if (guarded) {
            QTest::mouseClick(guarded, Qt::LeftButton);
        }
    });
}

int Runner::run(const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        try {
            runLine(lines[i]);
            settle();
            if (m_random.starved()) {
                throw LineError{"a draw was needed with an empty queue and no seed"};
            }
        } catch (const LineError& error) {
            std::cerr << "line " << (i + 1) << ": " << error.reason << std::endl;
            return 2;
        }
    }
    return 0;
}

void Runner::runLine(const std::string& raw) {
    std::string line = raw;
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (line.empty() || line.front() == '#' || line.find_first_not_of(" \t") == std::string::npos) {
        return;
    }
    const auto [command, rest] = splitWord(line);
    if (command == "locale" || command == "appdir") {
        if (m_window) {
            throw LineError{command + " must come before the first window command"};
        }
        if (command == "locale") {
            QLocale::setDefault(QLocale(QString::fromStdString(rest)));
        } else {
            m_appDir = QString::fromStdString(rest);
        }
    } else if (command == "draws") {
        std::istringstream words(rest);
        std::string word;
        while (words >> word) {
            const auto n = wholeNumber(word);
            if (!n || *n < 0 || *n > 36) {
                throw LineError{"draws takes whole numbers 0 to 36, not " + word};
            }
            m_random.queue(static_cast<int>(*n));
        }
    } else if (command == "seed") {
        const auto n = wholeNumber(rest);
        if (!n) {
            throw LineError{"seed takes a whole number"};
        }
        m_random.seed(static_cast<std::uint64_t>(*n));
    } else if (command == "answer") {
        if (rest != "yes" && rest != "no") {
            throw LineError{"answer takes yes or no"};
        }
        m_answers.push_back(rest == "yes");
    } else if (command == "dump") {
        ensureWindow();
        dump();
    } else if (command == "type" || command == "set" || command == "backspace") {
        ensureWindow();
        const auto [box, text] = splitWord(rest);
        if (!kBoxes.count(box)) {
            throw LineError{"no text box named " + box};
        }
        if (command == "type") {
            typeInto(box, text);
        } else if (command == "set") {
            setBox(box, text);
        } else {
            backspace(box, text);
        }
    } else if (command == "click") {
        ensureWindow();
        if (!kButtons.count(rest)) {
            throw LineError{"no button named " + rest};
        }
        click(rest);
    } else if (command == "drive" || command == "dir" || command == "select") {
        ensureWindow();
        chooserCommand(command, rest);
    } else if (command == "key") {
        ensureWindow();
        pressKey(rest);
    } else if (command == "open") {
        ensureWindow();
        openFile(rest);
    } else if (command == "save") {
        ensureWindow();
        if (windowOpen()) {
            m_window->menu().files().saveRun(
                QFileInfo(QString::fromStdString(rest)).absoluteFilePath());
        }
    } else if (command == "savesteps") {
        ensureWindow();
        saveSteps(rest);
    } else if (command == "close") {
        ensureWindow();
        if (windowOpen()) {
            m_window->close();
        }
    } else {
        throw LineError{"unknown command " + command};
    }
}

void Runner::ensureWindow() {
    if (m_window) {
        return;
    }
    const QString appDir = m_appDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_appDir;
    m_window = ui::createMainWindow(m_random, appDir);
    m_window->show();
    m_window->activateWindow();
    QApplication::setActiveWindow(m_window.get());
    settle();
}

bool Runner::windowOpen() const {
    return m_window && m_window->isVisible();
}

void Runner::typeInto(const std::string& name, const std::string& text) {
    auto* box = m_window->findChild<QLineEdit*>(QString::fromStdString(name));
    if (!windowOpen() || !box->isEnabled()) {
        return;
    }
    box->setFocus(Qt::TabFocusReason);
    box->end(false);
    for (QChar ch : QString::fromStdString(text)) {
        if (ch.unicode() >= 0x20 && ch.unicode() < 0x7f) {
            QTest::keyClick(box, static_cast<char>(ch.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }
}

void Runner::setBox(const std::string& name, const std::string& text) {
    auto* box = m_window->findChild<QLineEdit*>(QString::fromStdString(name));
    if (!windowOpen() || !box->isEnabled()) {
        return;
    }
    box->setText(QString::fromStdString(text));
}

void Runner::backspace(const std::string& name, const std::string& count) {
    auto* box = m_window->findChild<QLineEdit*>(QString::fromStdString(name));
    long long times = 1;
    if (!count.empty()) {
        const auto n = wholeNumber(count);
        if (!n || *n < 0) {
            throw LineError{"backspace takes a count of 0 or more"};
        }
        times = *n;
    }
    if (!windowOpen() || !box->isEnabled()) {
        return;
    }
    box->setFocus(Qt::TabFocusReason);
    box->end(false);
    // A press on an empty box changes nothing, so any count ends with the text.
    for (long long i = 0; i < times && (i == 0 || !box->text().isEmpty()); ++i) {
        QTest::keyClick(box, Qt::Key_Backspace);
    }
}

void Runner::click(const std::string& name) {
    auto* button = m_window->findChild<QPushButton*>(QString::fromStdString(name));
    if (!windowOpen() || !button) {
        return;
    }
    // Through the window, so the click lands on whatever lies on top there.
    const QPoint centre = button->mapTo(m_window.get(), button->rect().center());
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, Qt::NoModifier, centre);
}

// "open PATH [FROM]": a last word of digits is the answer to the start-spin
// question, the rest the path.
void Runner::openFile(const std::string& argument) {
    std::string path = argument;
    std::optional<long long> from;
    const auto blank = argument.rfind(' ');
    if (blank != std::string::npos) {
        if (const auto n = wholeNumber(argument.substr(blank + 1))) {
            if (*n < 1) {
                throw LineError{"open takes a first spin of 1 or more"};
            }
            from = *n;
            path = argument.substr(0, blank);
        }
    }
    if (!windowOpen()) {
        return;
    }
    m_window->menu().files().open(QFileInfo(QString::fromStdString(path)).absoluteFilePath(),
                                  from.value_or(1));
}

void Runner::pressKey(const std::string& name) {
    static const std::map<std::string, std::pair<Qt::Key, Qt::KeyboardModifiers>> kKeys{
        {"Tab", {Qt::Key_Tab, Qt::NoModifier}},
        {"Backtab", {Qt::Key_Backtab, Qt::ShiftModifier}},
        {"Return", {Qt::Key_Return, Qt::NoModifier}},
        {"Space", {Qt::Key_Space, Qt::NoModifier}},
        {"Escape", {Qt::Key_Escape, Qt::NoModifier}},
    };
    const auto key = kKeys.find(name);
    if (key == kKeys.end()) {
        throw LineError{"no key named " + name};
    }
    if (!windowOpen()) {
        return;
    }
    // To whatever has the focus, as the keyboard would deliver it.
    QWidget* target = QApplication::focusWidget();
    if (!target) {
        target = m_window.get();
    }
    QTest::keyClick(target, key->second.first, key->second.second);
}

void Runner::chooserCommand(const std::string& command, const std::string& argument) {
    ui::ImportChooser& chooser = m_window->chooser();
    if (!windowOpen() || !chooser.isVisible()) {
        return;
    }
    const QString arg = QString::fromStdString(argument);
    if (command == "drive") {
        if (!chooser.drives().contains(arg)) {
            throw LineError{"the drive list has no entry " + argument};
        }
        if (arg != chooser.currentDrive()) {
            chooser.chooseDrive(arg);
        }
    } else if (command == "dir") {
        const QFileInfo info(arg);
        if (!info.isDir()) {
            throw LineError{argument + " is no directory"};
        }
        chooser.openDirectory(info.absoluteFilePath());
    } else {
        QListWidget* list = chooser.fileList();
        const QList<QListWidgetItem*> found = list->findItems(arg, Qt::MatchExactly);
        if (found.isEmpty()) {
            throw LineError{"the file list shows no " + argument};
        }
        list->scrollToItem(found.front());
        const QPoint centre = list->visualItemRect(found.front()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    }
}

// "Alle Steps speichern …" from the window's own menu, with path as the
// dialog's choice (its overwrite question answered Yes).
void Runner::saveSteps(const std::string& path) {
    if (!windowOpen()) {
        return;
    }
    QAction* save = nullptr;
    for (QAction* action : m_window->findChildren<QAction*>()) {
        if (action->text() == QStringLiteral("Alle Steps speichern \u2026")) {
            save = action;
        }
    }
    if (!save) {
        throw LineError{"the window has no action to save all steps"};
    }
    const QString chosen = QFile::decodeName(QByteArray::fromStdString(path));
    ui::setSavePathChooser([chosen](QWidget*) { return chosen; });
    save->trigger(); // does nothing while the action is disabled, as in the menu
    ui::setSavePathChooser({});
}

void Runner::dump() {
    std::cout << dumpJson(*m_window, !windowOpen(), m_dialogs) << std::endl;
}

void Runner::settle() {
    for (int round = 0; round < 10; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        // A closed message box hands the activation back to the main window,
        // as a window manager would; offscreen nobody else does.
        if (windowOpen() && !QApplication::activeModalWidget() &&
            QApplication::activeWindow() != m_window.get()) {
            QApplication::setActiveWindow(m_window.get());
        }
    }
}

} // namespace cr::scenario
