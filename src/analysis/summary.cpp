// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/summary.h"

#include "core/expectation.h"
#include "core/steptable.h"
#include "core/texts.h"

#include <cmath>

namespace cr::analysis {

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
        const double q = 2 * fieldChance(row.step); // a position's pair has an empty field
        row.emptyShareExact = 1 - std::pow(1 - q, steprate);
        for (std::size_t p = 0; p < row.emptyShare.size(); ++p) {
            row.emptyShare[p] = runs > 0 ? stats.emptyShare(k, p) : 0;
        }
        for (std::size_t c = 0; c < kCounters; ++c) {
            row.mean[c] = stats.mean(k, c);
            row.sd[c] = stats.sd(k, c);
            row.deviation[c] = standardError > 0 ? (row.mean[c] - row.expected) / standardError : 0;
        }
    }
    return rows;
}

namespace {

// A row title of the export without its padding: "leer   RS " gives "leer RS".
std::string trimmed(std::string_view title) {
    std::string text;
    for (const char c : title) {
        if (c != ' ' || (!text.empty() && text.back() != ' ')) {
            text += c;
        }
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

} // namespace

std::vector<std::string> summaryTitles() {
    std::vector<std::string> titles{trimmed(texts::kStepTitle), trimmed(texts::kMeanTitle), "σ"};
    for (const std::string_view counter : texts::kCounterNames) {
        const std::string name(counter);
        titles.push_back(name + " Mittel");
        titles.push_back(name + " SD");
        titles.push_back(name + " z");
    }
    for (std::size_t p = 0; p < kPairCount; ++p) {
        titles.push_back(std::string(texts::kCounterNames[p]) + " \u2265 1");
    }
    titles.push_back("\u2265 1 exakt");
    return titles;
}

std::vector<std::string> summaryCells(const SummaryRow& row, std::string_view decimalSeparator) {
    std::vector<std::string> cells{std::to_string(row.step),
                                   fixedDecimal(row.expected, 4, decimalSeparator),
                                   fixedDecimal(row.sigma, 4, decimalSeparator)};
    for (std::size_t c = 0; c < kCounters; ++c) {
        cells.push_back(fixedDecimal(row.mean[c], 4, decimalSeparator));
        cells.push_back(fixedDecimal(row.sd[c], 4, decimalSeparator));
        cells.push_back(fixedDecimal(row.deviation[c], 2, decimalSeparator));
    }
    for (const double share : row.emptyShare) {
        cells.push_back(fixedDecimal(share, 4, decimalSeparator));
    }
    cells.push_back(fixedDecimal(row.emptyShareExact, 4, decimalSeparator));
    return cells;
}

std::string summaryTableText(const std::vector<SummaryRow>& rows,
                             std::string_view decimalSeparator) {
    std::string text;
    const auto appendLine = [&text](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            text += i == 0 ? "" : "\t";
            text += cells[i];
        }
        text += texts::kExportLineEnd;
    };
    appendLine(summaryTitles());
    for (const SummaryRow& row : rows) {
        appendLine(summaryCells(row, decimalSeparator));
    }
    return text;
}

} // namespace cr::analysis
