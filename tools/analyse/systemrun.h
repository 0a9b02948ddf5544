// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/system.h"
#include "options.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace cr::batch {

// One line of the --system table: the sessions of a file, a simulation or
// all files together.
struct SystemLine {
    std::optional<std::string> file;      // none for a simulation or a pool
    std::optional<std::uint64_t> seed;    // a simulation's seed
    std::vector<std::string> pooledFiles; // a pool's files
    analysis::SystemTotals totals;
};

void writeSystemHeader(std::ostream& out);
void writeSystemLine(std::ostream& out, const SystemLine& line, bool json);
// The bet log: tab-separated with a header line.
void writeBetLog(std::ostream& out, const std::vector<analysis::Bet>& bets);

// The --system mode of the tool over files or a simulation; the exit status.
int runSystem(const Options& o, std::ostream& out, std::ostream& err, bool showProgress,
              std::uint64_t seed);

} // namespace cr::batch
