// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/runmenu.h"

#include "analysis/analysisform.h"
#include "analysis/tablenote.h"
#include "chancenraster/version.h"
#include "core/numparse.h"
#include "core/run.h"
#include "core/runfile.h"
#include "core/steptable.h"
#include "ui/analysis/analysiswindow.h"
#include "ui/charts/coursechart.h"
#include "ui/charts/coursewindow.h"
#include "ui/files/stepsaver.h"
#include "ui/system/systemwindow.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <algorithm>

namespace cr::ui {

namespace {

// The permanence the main window has loaded, with where it comes from; no
// spins without one. Its file's path is known when it was opened here.
LoadedPermanence loadedPermanence(const RunControl& run, const QString& openedPath) {
    LoadedPermanence loaded;
    loaded.origin = run.origin();
    const std::vector<double>& cells = run.state().permanenz;
    const auto count = static_cast<std::size_t>(std::max(run.state().permanzahl, 0.0));
    for (std::size_t k = 1; k <= count && k < cells.size(); ++k) {
        const double spin = roundHalfEven(cells[k]);
        if (!(spin >= 0 && spin <= 36)) {
            break; // the import lets no such cell through; never cast one
        }
        loaded.numbers.numbers.push_back(static_cast<std::uint8_t>(spin));
    }
    if (!openedPath.isEmpty() &&
        analysis::loadedFrom(loaded.origin, QFileInfo(openedPath).fileName().toStdString())) {
        loaded.path = openedPath;
        // So that a single run of it can be replayed from its file.
        loaded.numbers.file = QFile::encodeName(openedPath).toStdString();
        loaded.numbers.firstSpin = run.sourceFirst();
    }
    return loaded;
}

} // namespace

RunMenu::RunMenu(QWidget* window, const RunControl& run, QString decimalSeparator,
                 RunFiles::Apply apply)
    : QObject(window), m_window(window), m_run(run),
      m_decimalSeparator(std::move(decimalSeparator)), m_apply(apply),
      m_files(window, run, std::move(apply)) {
    m_open = new QAction(QStringLiteral("Permanenz öffnen \u2026"), this);
    m_open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_saveRun = new QAction(QStringLiteral("Lauf als Permanenz speichern \u2026"), this);
    m_saveRun->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_saveRun->setEnabled(false);
    connect(m_open, &QAction::triggered, this, [this] { m_files.chooseAndOpen(); });
    connect(m_saveRun, &QAction::triggered, this, [this] { m_files.chooseAndSave(); });
    m_showCourse = new QAction(QStringLiteral("Verlauf anzeigen"), this);
    m_showCourse->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    m_saveSteps = new QAction(QStringLiteral("Alle Steps speichern \u2026"), this);
    m_saveSteps->setEnabled(false);
    connect(m_showCourse, &QAction::triggered, this, &RunMenu::showCourse);
    connect(m_saveSteps, &QAction::triggered, this, &RunMenu::saveSteps);
    m_showAnalysis = new QAction(QStringLiteral("Auswertung \u2026"), this);
    m_showAnalysis->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(m_showAnalysis, &QAction::triggered, this, &RunMenu::showAnalysis);
    m_showSystem = new QAction(QStringLiteral("Systemtest \u2026"), this);
    m_showSystem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(m_showSystem, &QAction::triggered, this, &RunMenu::showSystem);
    m_live = new QAction(QStringLiteral("Live-Eingabe …"), this);
    m_live->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(m_live, &QAction::triggered, this, &RunMenu::chooseLive);
    m_files.setOnSaved([this] { emit runSaved(); });
    m_seenHistory = m_run.historyVersion();
}

void RunMenu::chooseLive() {
    if (m_run.runStarted()) {
        m_apply([](RunControl& run) { run.abbruch(); });
        if (m_run.runStarted()) {
            return; // the user kept the run
        }
    }
    emit liveRequested();
}

void RunMenu::attachTo(QWidget* target) {
    target->addAction(m_open);
    target->addAction(m_saveRun);
    target->addAction(m_showCourse);
    target->addAction(m_saveSteps);
    target->addAction(m_showAnalysis);
    target->addAction(m_showSystem);
    target->addAction(m_live);
    target->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void RunMenu::showCourse() {
    if (!m_course) {
        m_course = new CourseWindow(m_window);
        m_course->showRun(m_run.history(), m_run.runSteprate());
        m_course->placeBeside(*m_window);
    }
    m_course->show();
    m_course->raise();
    m_course->activateWindow();
}

void RunMenu::showAnalysis() {
    if (!m_analysis) {
        m_analysis = new AnalysisWindow(m_window);
        m_analysis->setProgramVersion(QString::fromLatin1(kVersion));
        connect(m_analysis, &AnalysisWindow::replayFile, this, &RunMenu::replayFile);
        connect(m_analysis, &AnalysisWindow::replayNumbers, this, &RunMenu::replayNumbers);
    }
    m_analysis->offer(loadedPermanence(m_run, m_files.openedPath()),
                      analysis::offeredSteprate(m_run.state().steprate, m_run.runSteprate()));
    m_analysis->show();
    m_analysis->raise();
    m_analysis->activateWindow();
}

void RunMenu::showSystem() {
    if (!m_system) {
        m_system = new SystemWindow(m_window);
        // The run as it stands when the test starts: its permanence, or the
        // numbers drawn so far.
        m_system->setMainRun(
            [this] {
                MainRun run;
                run.name = QString::fromStdString(m_run.origin());
                if (m_run.state().modus == Modus::Replayed) {
                    run.numbers = loadedPermanence(m_run, m_files.openedPath()).numbers.numbers;
                } else {
                    for (const int spin : m_run.takenSpins()) {
                        run.numbers.push_back(static_cast<std::uint8_t>(spin));
                    }
                }
                return run;
            },
            [this] {
                const RunState& s = m_run.state();
                return static_cast<long long>(s.modus == Modus::Replayed ? s.permanzahl : s.akut);
            });
    }
    m_system->show();
    m_system->raise();
    m_system->activateWindow();
}

bool RunMenu::readyToReplay() {
    if (!m_run.importUsable()) {
        m_apply([](RunControl& run) { run.abbruch(); });
    }
    return m_run.importUsable();
}

void RunMenu::replayFile(const QString& path, long long firstSpin) {
    if (readyToReplay()) {
        m_files.open(path, firstSpin);
        m_window->raise();
        m_window->activateWindow();
    }
}

void RunMenu::replayNumbers(const QString& name, const std::vector<std::uint8_t>& numbers) {
    if (readyToReplay()) {
        const std::string fileName = name.toStdString();
        m_apply([&](RunControl& run) {
            run.applyOpened(numbersAsPermanence(numbers), fileName, false);
        });
        m_window->raise();
        m_window->activateWindow();
    }
}

void RunMenu::saveSteps() {
    saveAllSteps(m_window, stepTableText(m_run.history(), m_run.runSteprate(),
                                         m_decimalSeparator.toStdString()));
}

void RunMenu::follow() {
    m_open->setEnabled(m_run.importUsable());
    m_saveRun->setEnabled(m_run.runStarted());
    m_live->setEnabled(!(m_run.live() && !m_run.runStarted()));
    if (m_run.historyVersion() == m_seenHistory) {
        return;
    }
    m_seenHistory = m_run.historyVersion();
    m_saveSteps->setEnabled(!m_run.history().empty());
    if (m_course) {
        m_course->showRun(m_run.history(), m_run.runSteprate());
    }
}

} // namespace cr::ui
