// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/series.h"
#include "options.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace cr::batch {

// The series and numbers of one source: a file, a simulation or all files.
struct SeriesSource {
    std::optional<std::string> file;      // none for a simulation or a pool
    std::optional<std::uint64_t> seed;    // a simulation's seed
    std::vector<std::string> pooledFiles; // a pool's files
    analysis::SeriesStats stats;
};

// Tab-separated: the pairs table (three lines a source), a blank line, the
// numbers table (one line a source); each with its header line.
void writeSeriesPairsHeader(std::ostream& out);
void writeSeriesPairs(std::ostream& out, const SeriesSource& source);
void writeSeriesNumbersHeader(std::ostream& out);
void writeSeriesNumbers(std::ostream& out, const SeriesSource& source);
// One JSON object on one line.
void writeSeriesJson(std::ostream& out, const SeriesSource& source);

// The --series mode of the tool over files or a simulation; the exit status.
int runSeries(const Options& o, std::ostream& out, std::ostream& err, bool showProgress,
              std::uint64_t seed);

} // namespace cr::batch
