// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/statistics.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace cr::analysis {

// One step of runs against the exact law: the counters' mean and standard
// deviation beside the exact mean and σ, and how far each mean lies from the
// exact one in units of its standard error, (mean − E) / (σ / √runs).
struct SummaryRow {
    int step = 0;
    double statistisch = 0;
    double expected = 0;
    double sigma = 0;
    std::array<double, kCounters> mean{};
    std::array<double, kCounters> sd{};
    std::array<double, kCounters> deviation{}; // 0 where σ is 0 or there is no run
    // The share of runs with at least one empty field, per pair, beside its
    // exact value 1 − (1 − q)^N for N positions.
    std::array<double, kPairCount> emptyShare{};
    double emptyShareExact = 0;
};

std::vector<SummaryRow> summaryRows(const RunStatistics& stats, int steprate);

// A deviation that stands out: more than three standard errors.
inline bool standsOut(double deviation) {
    return deviation > 3 || deviation < -3;
}

// The column titles of the table, and the rows as text: tab-separated,
// lines ending as the export's, numbers with the given decimal separator.
std::vector<std::string> summaryTitles();
std::vector<std::string> summaryCells(const SummaryRow& row, std::string_view decimalSeparator);
std::string summaryTableText(const std::vector<SummaryRow>& rows,
                             std::string_view decimalSeparator);

} // namespace cr::analysis
