// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/readproblem.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace cr {
class RunControl;
}

namespace cr::ui {

// Opening a permanence of either layout and saving a run as one, with the
// messages that go with them. Changes of the run go through apply, so that
// they are shown as one user event.
class RunFiles {
public:
    using Apply = std::function<void(const std::function<void(RunControl&)>&)>;

    RunFiles(QWidget* window, const RunControl& run, Apply apply);

    // What choosing path in "Permanenz öffnen …" does; from answers the
    // question for the first spin of a long file (asked when absent).
    void open(const QString& path, std::optional<long long> from = std::nullopt);
    // A file dropped on the window or named on the command line.
    void openDropped(const QString& path);
    // What choosing path in "Lauf als Permanenz speichern …" does.
    bool saveRun(const QString& path);

    // The file the run's numbers were last taken from here (empty before
    // any): the main window's import names only the file.
    const QString& openedPath() const { return m_openedPath; }

    // Told after every run saved.
    void setOnSaved(std::function<void()> onSaved) { m_onSaved = std::move(onSaved); }

    // The platform's file dialogs, then the above.
    void chooseAndOpen();
    void chooseAndSave();

private:
    bool explainUnreadable(const QString& path, const std::optional<ReadProblem>& problem);
    std::optional<long long> askFirstSpin(long long total, long long last);

    QWidget* m_window;
    const RunControl& m_run;
    Apply m_apply;
    QString m_openedPath;
    std::function<void()> m_onSaved;
};

} // namespace cr::ui
