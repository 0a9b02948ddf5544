// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/job.h"
#include "analysis/system.h"
#include "analysis/systemlaw.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The work behind "Systemtest": the sessions of the chosen source played by
// the rules, on the job runner's thread, with what the window shows of them.
namespace cr::ui {

// The main window's run as the system test takes it: its numbers so far.
struct MainRun {
    std::vector<std::uint8_t> numbers;
    QString name; // where they come from, as the status label says it
};

// One line of the result table: a source's sessions, or all files together.
struct SystemLine {
    std::optional<std::string> file; // none for the main window's run, a simulation or a pool
    std::optional<std::uint64_t> seed;
    QString name; // as the table shows it
    analysis::SystemTotals totals;
};

// What a computation leaves to show.
struct SystemOutcome {
    std::vector<SystemLine> lines;
    std::vector<double> sessionResults; // of every session, for the histogram
    analysis::SessionTrace trace;       // of the first session of the first source
    analysis::SessionResult first;
    std::optional<analysis::Luck> luck; // of the first session, when cheap enough
    QStringList problems;               // files that gave no spins
    bool stopped = false;
};

// Where the sessions come from.
enum class From { Run, Files, Simulation };

struct SystemRequest {
    analysis::SystemRules rules;
    From from = From::Run;
    MainRun run;
    std::vector<std::string> files;
    QStringList fileNames;
    long long length = 0; // spins a session; 0: a whole run or file is one session
    long long sessions = 0;
    std::uint64_t seed = 0;
};

// Plays the request's sessions into `out`; stops early (out.stopped) when
// the progress says so.
void computeSystem(const SystemRequest& request, SystemOutcome& out,
                   analysis::JobProgress& progress);

} // namespace cr::ui
