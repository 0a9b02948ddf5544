// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/statistics.h"
#include "core/evaluation.h"
#include "core/readproblem.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace cr::batch {

// One run over a file: every completed step.
struct ReplayTable {
    std::string file;
    long long spins = 0; // taken from the file
    std::vector<StepResult> steps;
};

// Mean and standard deviation per step over runs of equal length.
struct SummaryTable {
    std::optional<std::string> file;      // the file cut into runs; none for a simulation
    std::vector<std::string> pooledFiles; // the files of a pooled table
    std::optional<std::uint64_t> seed;    // a simulation's seed
    long long runLength = 0;
    const analysis::RunStatistics* stats = nullptr;
};

// Tab-separated: one header line, then one line per step of every table.
void writeReplayHeader(std::ostream& out);
void writeSummaryHeader(std::ostream& out);
void writeReplay(std::ostream& out, const ReplayTable& table, int steprate, bool json);
void writeSummary(std::ostream& out, const SummaryTable& table, int steprate, bool json);

// Numbers as JSON and the tables write them, whatever the locale.
std::string shortest(double value); // the shortest text that reads back as the value
std::string fixed(double value, int decimals);
// A JSON string: always valid UTF-8; a byte that is no part of a valid
// UTF-8 character is written as the text \xNN.
std::string jsonString(std::string_view text);
// Text for a terminal or a tab-separated column: control characters, a
// backslash and bytes that are no valid UTF-8 are written as \t, \n, \r,
// \\ or \xNN, so a name or a field from a file never reaches the screen
// raw and never breaks a line or a column.
std::string escaped(std::string_view text);

// How every message of the tool on standard error begins.
inline constexpr const char* kName = "chancenraster-analyse: ";

// A file that gave no spins, named on standard error after what was written so far.
void reportUnreadable(std::ostream& out, std::ostream& err, std::string_view file,
                      const ReadProblem& problem);

// The errno of a failed write of the output, where the output records it (0: none known).
inline int& outputError() {
    static int error = 0;
    return error;
}

} // namespace cr::batch
