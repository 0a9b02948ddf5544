// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/steptable.h"

#include "core/expectation.h"
#include "core/texts.h"

#include <array>
#include <charconv>
#include <cmath>

namespace cr {

namespace {

// As the statistics label shows it: whole, or with the single decimal 5.
std::string statisticCell(double statistisch, std::string_view separator) {
    const long long doubled = std::llround(statistisch * 2);
    std::string cell = std::to_string(doubled / 2);
    if (doubled % 2 != 0) {
        cell += separator;
        cell += '5';
    }
    return cell;
}

template <typename Cell>
void appendLine(std::string& out, std::string_view title, const std::vector<StepResult>& history,
                Cell cell) {
    out += title;
    for (const StepResult& r : history) {
        out += '\t';
        out += cell(r);
    }
    out += texts::kExportLineEnd;
}

} // namespace

std::string fixedDecimal(double value, int decimals, std::string_view separator) {
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, decimals);
    if (error != std::errc()) {
        return {};
    }
    std::string cell(buffer.data(), end);
    if (const auto point = cell.find('.'); point != std::string::npos) {
        cell.replace(point, 1, separator);
    }
    return cell;
}

std::string stepTableText(const std::vector<StepResult>& history, int steprate,
                          std::string_view decimalSeparator) {
    std::string out;
    appendLine(out, texts::kStepTitle, history,
               [](const StepResult& r) { return std::to_string(r.step); });
    appendLine(out, texts::kStatisticTitle, history, [decimalSeparator](const StepResult& r) {
        return statisticCell(r.statistisch, decimalSeparator);
    });
    constexpr std::size_t pairs = kPairCount;
    for (std::size_t row = 0; row < texts::kRowTitles.size(); ++row) {
        appendLine(out, texts::kRowTitles[row], history, [row](const StepResult& r) {
            return std::to_string(row < pairs ? r.leer[row] : r.einmal[row - pairs]);
        });
    }
    appendLine(out, texts::kMeanTitle, history, [steprate, decimalSeparator](const StepResult& r) {
        return fixedDecimal(expectedCount(steprate, r.step), 2, decimalSeparator);
    });
    return out;
}

} // namespace cr
