// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/summary.h"

#include "core/expectation.h"

#include <cmath>

namespace cr::analyse {

std::vector<SummaryRow> summaryRows(const RunStatistics& stats, int steprate) {
    const std::vector<StepSums>& steps = stats.steps();
    std::vector<SummaryRow> rows(steps.size());
    const double runs = static_cast<double>(stats.runs());
    for (std::size_t k = 0; k < steps.size(); ++k) {
        SummaryRow& row = rows[k];
        row.step = static_cast<int>(k) + 1;
        row.statistisch = steps[k].statistisch;
        row.expected = expectedCount(steprate, row.step);
        row.sigma = expectedSigma(steprate, row.step);
        const double standardError = runs > 0 ? row.sigma / std::sqrt(runs) : 0;
        for (std::size_t c = 0; c < kCounters; ++c) {
            row.mean[c] = stats.mean(k, c);
            row.sd[c] = stats.sd(k, c);
            row.deviation[c] = standardError > 0 ? (row.mean[c] - row.expected) / standardError : 0;
        }
    }
    return rows;
}

} // namespace cr::analyse
