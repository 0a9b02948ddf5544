// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/evaluation.h"

#include <string>
#include <string_view>
#include <vector>

namespace cr {

// Every completed step of a run as tab-separated text for a spreadsheet, one
// column per step: a header line with the step numbers, the statistics line
// and the six counter lines under the export's titles, then the exact mean
// for the step rate. Numbers read as the window shows them; the mean has two
// decimals. Every line ends with CR LF, as the export's lines do, so both
// land in the same spreadsheet alike.
// A number with the given decimals and decimal separator, as the tables
// write them.
std::string fixedDecimal(double value, int decimals, std::string_view separator);

std::string stepTableText(const std::vector<StepResult>& history, int steprate,
                          std::string_view decimalSeparator);

} // namespace cr
