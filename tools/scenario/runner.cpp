// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner.h"

#include "analyse/options.h"
#include "analyse/systemrun.h"
#include "dump.h"
#include "jsonwriter.h"
#include "ui/files/importchooser.h"
#include "ui/files/stepsaver.h"
#include "ui/main/application.h"
#include "ui/main/mainwindow.h"
#include "ui/main/runmenu.h"
#include "ui/system/systemwindow.h"
#include "words.h"

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
const std::set<std::string> kButtons(kButtonNames.begin(), kButtonNames.end());

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
    if (m_dialogs.size() == kDialogsKept) {
        m_dialogs.erase(m_dialogs.begin()); // a long monkey run shows boxes without end
    }
    m_dialogs.push_back(record);
    ++m_dialogsShown;
    QPointer<QAbstractButton> guarded(target);
    QTimer::singleShot(0, box, [guarded] {
        if (guarded) {
            QTest::mouseClick(guarded, Qt::LeftButton);
        }
    });
}

int Runner::run(const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto status = runNumbered(lines[i], i + 1)) {
            return *status;
        }
    }
    return 0;
}

int Runner::run(std::istream& in, const std::string& source) {
    std::size_t number = 0;
    for (std::string line; std::getline(in, line);) {
        if (const auto status = runNumbered(line, ++number)) {
            return *status;
        }
    }
    if (in.bad()) {
        std::cerr << "line " << number + 1 << ": cannot read the script " << source << std::endl;
        return 2;
    }
    return 0;
}

std::optional<int> Runner::runNumbered(const std::string& line, std::size_t number) {
    try {
        runLine(line);
        settle();
        if (m_random.starved()) {
            throw LineError{"a draw was needed with an empty queue and no seed"};
        }
    } catch (const LineError& error) {
        std::cerr << "line " << number << ": " << error.reason << std::endl;
        return 2;
    } catch (const InvariantBroken&) {
        return 1;
    }
    return std::nullopt;
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
    if (!runSetupLine(command, rest)) {
        ensureWindow();
        runWindowLine(command, rest);
    }
}

// The lines that prepare the window and its answers; false for any other.
bool Runner::runSetupLine(const std::string& command, const std::string& rest) {
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
    } else {
        return false;
    }
    return true;
}

// What a person does in the window, once it exists.
void Runner::runWindowLine(const std::string& command, const std::string& rest) {
    if (command == "dump") {
        dump();
    } else if (command == "type" || command == "set" || command == "backspace") {
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
        if (!kButtons.count(rest)) {
            throw LineError{"no button named " + rest};
        }
        click(rest);
    } else if (command == "drive" || command == "dir" || command == "select") {
        chooserCommand(command, rest);
    } else if (command == "key") {
        pressKey(rest);
    } else if (command == "open") {
        openFile(rest);
    } else if (command == "save") {
        saveRun(rest);
    } else if (command == "savesteps") {
        saveSteps(rest);
    } else if (command == "systemtest") {
        systemTest(rest);
    } else if (command == "livestart" || command == "live" || command == "undo" ||
               command == "redo") {
        liveCommand(command, rest);
    } else if (command == "monkey") {
        runMonkey(rest);
    } else if (command == "close") {
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
    m_window->offerUnfinishedLive(); // answered like any confirmation
    settle();
}

bool Runner::windowOpen() const {
    return m_window && m_window->isVisible();
}

void Runner::dump() {
    std::cout << dumpJson(*m_window, !windowOpen(), m_dialogs, m_systemtest) << std::endl;
    std::cout.flush(); // whoever pipes a script in reads each dump at once
}

// "Systemtest" over the run, its form set from the tool's options, read by
// the tool's own parser so that both take the same words.
void Runner::systemTest(const std::string& options) {
    static const std::set<std::string> kTaken{"--system", "--pairs",  "--progression",
                                              "--unit",   "--limit",  "--capital",
                                              "--zero",   "--paroli", "--steprate"};
    std::istringstream words(options);
    std::vector<std::string> args;
    std::string word;
    while (words >> word) {
        if (word.rfind("--", 0) == 0 && !kTaken.count(word.substr(0, word.find('=')))) {
            throw LineError{"systemtest takes no option " + word};
        }
        args.push_back(word);
    }
    args.insert(args.end(), {"--", "(run)"}); // the tool wants a source; the run is it
    const batch::ParsedArguments parsed = batch::parseArguments(args);
    if (!parsed.options || !parsed.options->system) {
        throw LineError{"systemtest: " +
                        (parsed.error.empty() ? std::string("--system is missing") : parsed.error)};
    }
    if (!windowOpen()) {
        return;
    }
    ui::RunMenu& menu = m_window->menu();
    menu.showSystem();
    ui::SystemWindow& system = *menu.systemWindow();
    system.useMainRun();
    system.lengthBox()->clear();
    system.setRules(*parsed.options->system);
    system.calculate();
    system.waitUntilDone();
    settle();
    if (system.busy() || !system.outcome() || system.outcome()->lines.empty()) {
        JsonWriter refusal;
        refusal.beginObject();
        refusal.key("refusal");
        refusal.value(system.refusalText());
        refusal.endObject();
        m_systemtest = refusal.str();
        return;
    }
    std::ostringstream line;
    batch::writeSystemLine(
        line, batch::SystemLine{std::nullopt, std::nullopt, {}, system.outcome()->lines[0].totals},
        true);
    m_systemtest = line.str();
    while (!m_systemtest.empty() && m_systemtest.back() == '\n') {
        m_systemtest.pop_back();
    }
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
