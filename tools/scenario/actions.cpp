// SPDX-License-Identifier: GPL-3.0-or-later
// What the runner does in the window: keys, clicks, the chooser and the
// context menu's files, each as a person would.
#include "runner.h"
#include "ui/files/importchooser.h"
#include "ui/files/stepsaver.h"
#include "ui/main/mainwindow.h"
#include "ui/main/runmenu.h"
#include "words.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <map>

namespace cr::scenario {

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

// The live entry: the menu's "Live-Eingabe …", a number typed into the live
// box and Enter, and Ctrl+Z / Ctrl+Y to whatever has the focus.
void Runner::liveCommand(const std::string& command, const std::string& text) {
    if (!windowOpen()) {
        return;
    }
    if (command == "livestart") {
        for (QAction* action : m_window->actions()) {
            if (action->text() == QStringLiteral("Live-Eingabe \u2026")) {
                action->trigger(); // nothing while the entry is disabled
            }
        }
        return;
    }
    if (command == "live") {
        auto* box = m_window->findChild<QLineEdit*>(QStringLiteral("liveentry"));
        if (!box || !box->isEnabled() || !box->isVisible()) {
            return;
        }
        box->setFocus(Qt::TabFocusReason); // selects what is there: typing replaces it
        box->selectAll();
        if (text.empty()) {
            QTest::keyClick(box, Qt::Key_Backspace);
        }
        for (QChar ch : QString::fromStdString(text)) {
            if (ch.unicode() >= 0x20 && ch.unicode() < 0x7f) {
                QTest::keyClick(box, static_cast<char>(ch.unicode()));
            } else {
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
            }
        }
        QTest::keyClick(box, Qt::Key_Return);
        return;
    }
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != m_window.get()) {
        target = m_window.get();
    }
    QTest::keyClick(target, command == "undo" ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
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

void Runner::saveRun(const std::string& path) {
    if (windowOpen()) {
        m_window->menu().files().saveRun(
            QFileInfo(QString::fromStdString(path)).absoluteFilePath());
    }
}

} // namespace cr::scenario
