// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace cr::analysis {

// What a job shows while it runs and when it ends.
inline constexpr const char* kStoppedText = "Abgebrochen";
inline constexpr const char* kOutOfMemoryText = "Nicht genug Speicher";

// Writes a count as the window's locale does (grouping digits or not).
using CountText = std::function<std::string(long long)>;

// "DONE von TOTAL Würfen", with ", noch N s" while spins remain: N the
// whole seconds the rate so far needs for the rest, as %g writes it. Before
// the spins are counted (TOTAL 0 while the job runs): the files are read.
std::string progressText(long long done, long long total, bool ended, double elapsedSeconds,
                         const CountText& count);

// The progress bar's value, 0..1000; -1 while the total is unknown.
int progressPermille(long long done, long long total);

} // namespace cr::analysis
