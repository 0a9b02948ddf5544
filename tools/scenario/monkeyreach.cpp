// SPDX-License-Identifier: GPL-3.0-or-later
// The monkey's reach beyond the script lines: the windows the context menu
// opens, the live tableau and files dropped on the window. Each does what a
// person's click or drop there would, and nothing while its window is shut.
#include "runner.h"
#include "ui/analysis/analysiswindow.h"
#include "ui/analysis/oddrunspanel.h"
#include "ui/charts/coursewindow.h"
#include "ui/main/mainwindow.h"
#include "ui/main/runmenu.h"
#include "ui/system/systemwindow.h"
#include "words.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <map>
#include <sstream>

namespace cr::scenario {

namespace {

std::vector<long long> numbersOf(const std::string& text) {
    std::istringstream words(text);
    std::vector<long long> numbers;
    for (std::string word; words >> word;) {
        if (const auto n = wholeNumber(word)) {
            numbers.push_back(*n);
        }
    }
    return numbers;
}

bool shown(const QWidget* window) {
    return window && window->isVisible();
}

} // namespace

bool Runner::runMonkeyLine(const std::string& line) {
    const auto [command, rest] = splitWord(line);
    if (command != "menu" && command != "verlauf" && command != "auswertung" &&
        command != "system" && command != "tableau" && command != "drop") {
        return false;
    }
    ensureWindow();
    if (!windowOpen()) {
        return true;
    }
    if (command == "menu") {
        static const std::map<std::string, QString> kEntries{
            {"verlauf", QStringLiteral("Verlauf anzeigen")},
            {"auswertung", QStringLiteral("Auswertung \u2026")},
            {"systemtest", QStringLiteral("Systemtest \u2026")}};
        const auto entry = kEntries.find(rest);
        if (entry == kEntries.end()) {
            throw LineError{"the menu has no entry " + rest};
        }
        for (QAction* action : m_window->actions()) {
            if (action->text() == entry->second) {
                action->trigger(); // nothing while it is disabled
            }
        }
    } else if (command == "verlauf") {
        courseLine(rest);
    } else if (command == "auswertung") {
        analysisLine(rest);
    } else if (command == "system") {
        ui::SystemWindow* system = m_window->menu().systemWindow();
        if (!shown(system)) {
            return true;
        }
        if (rest == "start") {
            system->useMainRun();
            system->calculate();
        } else if (rest == "cancel") {
            system->cancel();
            system->waitUntilDone();
        } else {
            system->close();
        }
    } else if (command == "tableau") {
        auto* button = m_window->findChild<QPushButton*>(QStringLiteral("livezahl") +
                                                         QString::fromStdString(rest));
        if (button && button->isVisible() && button->isEnabled()) {
            QTest::mouseClick(button, Qt::LeftButton);
        }
    } else {
        drop(rest);
    }
    return true;
}

void Runner::courseLine(const std::string& rest) {
    auto* course = m_window->menu().courseWindow();
    if (!shown(course)) {
        return;
    }
    const auto [word, number] = splitWord(rest);
    if (word == "close") {
        course->close();
    } else if (word == "log") {
        course->logSwitch().click();
    } else if (const auto zoom = wholeNumber(number)) {
        course->setZoom(static_cast<int>(*zoom));
    }
}

// "simulate RUNS LENGTH STEPRATE SEED", "files PATH STEPRATE", "start",
// "cancel", "search STEP COUNTER", "replay ROW", "source N", "close".
void Runner::analysisLine(const std::string& rest) {
    ui::AnalysisWindow* analysis = m_window->menu().analysisWindow();
    if (!shown(analysis)) {
        return;
    }
    const auto [word, arguments] = splitWord(rest);
    const std::vector<long long> n = numbersOf(arguments);
    if (word == "simulate" && n.size() == 4) {
        analysis->chooseSimulation(n[0], static_cast<std::uint64_t>(n[3]));
        analysis->setRunLength(n[1]);
        analysis->setSteprate(static_cast<int>(n[2]));
        analysis->calculate();
        analysis->waitUntilDone();
    } else if (word == "files") {
        const auto [path, steprate] = splitWord(arguments);
        if (analysis->sources()->count() < 4) { // a person adds a few, not thousands
            analysis->addFiles({QString::fromStdString(path)});
        }
        analysis->setSteprate(static_cast<int>(wholeNumber(steprate).value_or(1)));
        analysis->calculate();
        analysis->waitUntilDone();
    } else if (word == "start") {
        analysis->calculate();
    } else if (word == "cancel") {
        analysis->cancel();
        analysis->waitUntilDone();
    } else if (word == "search" && n.size() == 2) {
        analysis->oddRuns()->search(static_cast<int>(n[0]), static_cast<std::size_t>(n[1]));
        analysis->oddRuns()->waitUntilDone();
    } else if (word == "replay" && n.size() == 1) {
        analysis->oddRuns()->replayRow(static_cast<int>(n[0]));
    } else if (word == "source" && n.size() == 1) {
        if (n[0] < analysis->sourceChoice()->count()) {
            analysis->showSource(static_cast<int>(n[0]));
        }
    } else if (word == "close") {
        analysis->close();
    } else {
        throw LineError{"the monkey has no Auswertung line " + rest};
    }
}

// A file dragged from a file manager onto the window, or (no path) a text.
void Runner::drop(const std::string& path) {
    QMimeData mime;
    if (path.empty()) {
        mime.setText(QStringLiteral("17"));
    } else {
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    }
    const QPoint at = m_window->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window.get(), &enter);
    if (!enter.isAccepted()) {
        return;
    }
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_window.get(), &dropped);
}

} // namespace cr::scenario
