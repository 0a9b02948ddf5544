// SPDX-License-Identifier: GPL-3.0-or-later
// The rules around the run's results: what is kept per step, what an
// export writes, what "Verlauf" shows, and the jobs of the other windows.
#include "core/run.h"
#include "core/texts.h"
#include "invariants.h"
#include "invariants_p.h"
#include "ui/analysis/analysiswindow.h"
#include "ui/analysis/oddrunspanel.h"
#include "ui/charts/coursechart.h"
#include "ui/charts/coursewindow.h"
#include "ui/main/mainwindow.h"
#include "ui/main/runmenu.h"
#include "ui/system/systemwindow.h"

#include <QPointer>
#include <cmath>
#include <map>

namespace cr::scenario {

// A control of the window by name. The search through every widget (the
// other windows are the main window's children) would cost more than the
// checks themselves, so what was found is kept while it lives.
const QWidget* control(const ui::MainWindow& window, const char* name) {
    static const ui::MainWindow* cachedFor = nullptr;
    static std::map<std::string, QPointer<QWidget>> found;
    if (cachedFor != &window) {
        found.clear();
        cachedFor = &window;
    }
    QPointer<QWidget>& widget = found[name];
    if (!widget) {
        widget = window.findChild<QWidget*>(QString::fromLatin1(name));
    }
    return widget;
}

bool enabledControl(const ui::MainWindow& window, const char* name) {
    const QWidget* widget = control(window, name);
    return widget && widget->isEnabled();
}

// Every job an action started has ended or was cancelled with it.
void checkJobs(const ui::MainWindow& window, Findings& found) {
    const ui::RunMenu& menu = window.menu();
    if (const auto* analysis = menu.analysisWindow();
        analysis && (analysis->busy() || analysis->oddRuns()->busy())) {
        found.fail("a job of Auswertung still runs after the action");
    }
    if (const auto* system = menu.systemWindow(); system && system->busy()) {
        found.fail("a job of Systemtest still runs after the action");
    }
}

// "Verlauf" shows the steps the run has ended, as they ended.
void checkCourse(const ui::MainWindow& window, Findings& found) {
    const RunControl& run = window.run();
    const auto* course = window.menu().courseWindow();
    if (!course || !course->isVisible()) {
        return;
    }
    const std::vector<StepResult>& shown = course->chart().steps();
    const std::vector<StepResult>& ended = run.history();
    bool same = shown.size() == ended.size();
    for (std::size_t i = 0; same && i < shown.size(); ++i) {
        same = shown[i].leer == ended[i].leer && shown[i].einmal == ended[i].einmal &&
               shown[i].step == ended[i].step;
    }
    if (!same) {
        found.fail("Verlauf shows ", shown.size(), " steps, the run has ended ", ended.size());
    }
}

// The step results kept for the export: one per ended step, numbered
// from 1 since "Start" or "Reset"; steps 1 to 15 in their slots, the
// counters emptied by an export (the statistics line stays, only left
// out of the next export), so the filled slots are the latest ones.
void checkResults(const ui::MainWindow& window, Findings& found) {
    const RunControl& run = window.run();
    const RunState& s = run.state();
    const std::vector<StepResult>& ended = run.history();
    if (static_cast<long long>(ended.size()) != s.schritt - 1) {
        found.fail(ended.size(), " step results kept in step ", s.schritt);
        return;
    }
    for (std::size_t i = 0; i < ended.size(); ++i) {
        if (ended[i].step != static_cast<int>(i) + 1) {
            found.fail("step result ", i, " is numbered ", ended[i].step);
            return;
        }
    }
    bool anyFilled = false;
    for (std::size_t slot = 1; slot <= static_cast<std::size_t>(kRecordedSteps); ++slot) {
        const bool ended_ = slot <= ended.size();
        const bool filled = !s.feldtitel[1][slot].empty();
        for (std::size_t row = 1; row <= 6; ++row) {
            if (s.feldtitel[row][slot].empty() == filled) {
                found.fail("the results of step ", slot, " are kept in part");
                return;
            }
        }
        if (!ended_) {
            if (filled || !s.feldtitel[0][slot].empty()) {
                found.fail("a result is kept for step ", slot, " which has not ended");
            }
            continue;
        }
        const StepResult& result = ended[slot - 1];
        if (s.feldtitel[0][slot] !=
            run.statisticText(static_cast<int>(std::lround(result.statistisch * 2)))) {
            found.fail("the statistics of step ", slot, " read ", s.feldtitel[0][slot]);
        }
        if (anyFilled && !filled) {
            found.fail("step ", slot, " was exported but an earlier one was not");
        }
        if (!filled && s.statzeile == 1) {
            found.fail("step ", slot, "'s results are gone without an export");
        }
        anyFilled |= filled;
        const int values[] = {result.leer[0],   result.leer[1],   result.leer[2],
                              result.einmal[0], result.einmal[1], result.einmal[2]};
        for (std::size_t row = 1; filled && row <= 6; ++row) {
            if (s.feldtitel[row][slot] != std::to_string(values[row - 1])) {
                found.fail("row ", row, " of step ", slot, " keeps ", s.feldtitel[row][slot],
                           ", the step ended with ", values[row - 1]);
            }
        }
    }
    if (enabledControl(window, "okclip") != anyFilled) {
        found.fail("Export enabled ", enabledControl(window, "okclip"), " with results to export ",
                   anyFilled);
    }
}

// An export writes what the steps since the last one ended with.
void checkExport(const ui::MainWindow& window, const ActionContext& context, Findings& found) {
    const std::string now = window.cliptext().toStdString();
    if (now.empty() || now == context.exportBefore) {
        return;
    }
    if (now != context.exportDue) {
        found.fail("the export text is \"", now, "\", the steps ended give \"", context.exportDue,
                   "\"");
    }
}

ActionContext contextBefore(const ui::MainWindow& window) {
    ActionContext context;
    const RunControl& run = window.run();
    const RunState& s = run.state();
    context.gridRowsBefore = run.grid().rowCount();
    context.exportBefore = window.cliptext().toStdString();
    // Built from the step results, so that a slip in the export's own
    // assembly shows: a line per counter, its slots tab-separated.
    const auto line = [&](std::string_view title, auto value) {
        std::string text(title);
        for (std::size_t slot = 1; slot <= static_cast<std::size_t>(kRecordedSteps); ++slot) {
            text += '\t';
            if (slot <= run.history().size() && !s.feldtitel[1][slot].empty()) {
                text += value(run.history()[slot - 1]);
            }
        }
        return text + std::string(texts::kExportLineEnd);
    };
    if (s.statzeile == 1) {
        // The statistics line is there for every step ended, exported or not.
        std::string text(texts::kStatisticTitle);
        for (std::size_t slot = 1; slot <= static_cast<std::size_t>(kRecordedSteps); ++slot) {
            text += '\t';
            if (slot <= run.history().size()) {
                text += run.statisticText(
                    static_cast<int>(std::lround(run.history()[slot - 1].statistisch * 2)));
            }
        }
        context.exportDue += text + std::string(texts::kExportLineEnd);
    }
    for (std::size_t row = 0; row < 6; ++row) {
        context.exportDue += line(texts::kRowTitles[row], [row](const StepResult& r) {
            return std::to_string(row < 3 ? r.leer[row] : r.einmal[row - 3]);
        });
    }
    return context;
}

} // namespace cr::scenario
