// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/files/runfiles.h"

#include <QObject>
#include <QString>

class QAction;
class QWidget;

namespace cr {
class RunControl;
}

namespace cr::ui {

class AnalysisWindow;
class CourseWindow;
class SystemWindow;

// The features of the window's context menu, beyond the original controls:
// opening a permanence, saving the run, the course chart of the run and
// saving every step. The window hands them the run to read, and a way to
// change it as one user event.
class RunMenu final : public QObject {
    Q_OBJECT
public:
    RunMenu(QWidget* window, const RunControl& run, QString decimalSeparator,
            RunFiles::Apply apply);

    // Adds the menu to a widget's right click.
    void attachTo(QWidget* target);
    // Called after every user event: the entries follow what the run allows,
    // and the chart follows the steps.
    void follow();
    RunFiles& files() { return m_files; }
    // A run "Auswertung" points to, replayed here from its first spin: a
    // file's stretch, or numbers without a file. A run under way is given
    // up first only when the user confirms it, as "Abbruch" asks.
    void replayFile(const QString& path, long long firstSpin);
    void replayNumbers(const QString& name, const std::vector<std::uint8_t>& numbers);
    AnalysisWindow* analysisWindow() const { return m_analysis; }
    // "Systemtest", built when first shown.
    void showSystem();
    SystemWindow* systemWindow() const { return m_system; }
    CourseWindow* courseWindow() const { return m_course; } // "Verlauf", once shown
    // "Live-Eingabe …": a run under way is given up first, as "Abbruch" asks.
    void chooseLive();

signals:
    void liveRequested(); // the run may be made live now
    void runSaved();

private:
    // Whether a permanence may be opened now, after asking to end the run.
    bool readyToReplay();

    void showCourse();
    void saveSteps();
    void showAnalysis();

    QWidget* m_window;
    const RunControl& m_run;
    QString m_decimalSeparator;
    RunFiles::Apply m_apply;
    RunFiles m_files;
    QAction* m_open = nullptr;
    QAction* m_saveRun = nullptr;
    QAction* m_showCourse = nullptr;
    QAction* m_saveSteps = nullptr;
    QAction* m_showAnalysis = nullptr;
    QAction* m_showSystem = nullptr;
    QAction* m_live = nullptr;
    AnalysisWindow* m_analysis = nullptr; // built when first shown
    CourseWindow* m_course = nullptr;     // built when first shown
    SystemWindow* m_system = nullptr;     // built when first shown
    unsigned m_seenHistory = 0;
};

} // namespace cr::ui
