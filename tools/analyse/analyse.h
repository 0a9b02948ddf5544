// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cr::batch {

// Exit statuses of the tool.
inline constexpr int kDone = 0;
inline constexpr int kFileFailed = 1;
inline constexpr int kBadArguments = 2;

// The whole tool: reads the arguments after the program's name, writes the
// tables to out and the messages (and, if allowed, the progress line) to err,
// and gives the exit status.
int runAnalysis(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                bool showProgress);

} // namespace cr::batch
