// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/system.h"

#include <string>
#include <vector>

namespace cr::analysis {

// Every bet of a session as tab-separated text with a header line, for a
// spreadsheet: the same text whether the tool writes it or the window.
std::string betLog(const std::vector<Bet>& bets);

} // namespace cr::analysis
