// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/summary.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The words around the table of "Auswertung": what it was computed from, as
// a note above the saved or copied table, and what its figures say, as the
// sentence above the table in the window.
namespace cr::analysis {

// For a normal law, P(|Z| > 2) = 2 × (1 − Φ(2)) = 0.0455: the share of the
// deviations z that pure chance puts beyond ±2.
inline constexpr double kBeyondTwoChance = 0.0455;

// What a table was computed from.
struct TableOrigin {
    std::vector<std::string> sources; // as sourceLabel and loadedLabel name them
    bool simulated = false;
    std::uint64_t seed = 0; // of a simulation
    int steprate = 0;
    long long runLength = 0;
    long long runs = 0;
    std::string version; // the program's
    std::string when;    // date and time of the computation, as shown
};

// Lines a spreadsheet shows as a note above the table: each starts with "# "
// and ends as the table's lines.
std::string tableNote(const TableOrigin& origin);

// A file among the sources: its name and first spin.
std::string sourceLabel(std::string_view fileName);

// The main window's permanence among the sources, from where its run says
// its numbers come from (RunControl::origin()): "datei.csv ab Wurf 100000
// (im Hauptfenster geladen)". Empty when the numbers were not read from a file.
std::string loadedLabel(std::string_view runOrigin);

// Whether a run's numbers may have come from a file of this name: its origin
// names the file as the status label does (cut after 40 characters, commas
// and quotes replaced).
bool loadedFrom(std::string_view runOrigin, std::string_view fileName);

// The deviations z of the rows beyond ±2.
std::size_t beyondTwo(const std::vector<SummaryRow>& rows);

// How many of `deviations` deviations z chance puts beyond ±2, beside the
// `beyond` found, in a sentence.
std::string chanceSentence(std::size_t deviations, std::size_t beyond);

// What a column of the table shows, by its title (summaryTitles()), for its
// tool tip; empty for a title it does not know.
std::string columnExplanation(std::string_view title);

// The sentences above the table: what a row shows, and chanceSentence for
// its rows.
std::string tableCaption(long long runs, const std::vector<SummaryRow>& rows);

} // namespace cr::analysis
