// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/run.h"

#include <string>

namespace cr {

// The results table as tab-separated lines for a spreadsheet: the statistics
// line first when withStatistics, then the six counter lines; 16 fields a
// line, every line ended by CR LF.
std::string exportText(const ResultTable& feldtitel, bool withStatistics);

} // namespace cr
