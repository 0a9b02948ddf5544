// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/statistics.h"

#include <algorithm>
#include <cmath>

namespace cr::analysis {

int counterOf(const StepResult& step, std::size_t counter) {
    return counter < 3 ? step.leer[counter] : step.einmal[counter - 3];
}

void RunStatistics::addRun(const std::vector<StepResult>& steps) {
    for (const StepResult& step : steps) {
        addStep(step);
    }
    endRun();
}

void RunStatistics::addStep(const StepResult& step) {
    const auto k = static_cast<std::size_t>(step.step - 1);
    if (m_steps.size() <= k) {
        m_steps.reserve(std::max(m_expected, k + 1));
        m_steps.resize(k + 1);
    }
    StepSums& sums = m_steps[k];
    sums.statistisch = step.statistisch;
    for (std::size_t c = 0; c < kCounters; ++c) {
        const long long value = counterOf(step, c);
        sums.sum[c] += value;
        sums.squares[c] += value * value;
        if (m_histograms) {
            std::vector<long long>& counts = sums.histogram[c];
            const auto at = static_cast<std::size_t>(value);
            if (counts.size() <= at) {
                counts.resize(at + 1);
            }
            ++counts[at];
        }
    }
    for (std::size_t p = 0; p < sums.withEmpty.size(); ++p) {
        sums.withEmpty[p] += step.leer[p] > 0;
    }
}

void RunStatistics::merge(const RunStatistics& other) {
    if (m_steps.size() < other.m_steps.size()) {
        m_steps.resize(other.m_steps.size());
    }
    for (std::size_t k = 0; k < other.m_steps.size(); ++k) {
        StepSums& sums = m_steps[k];
        sums.statistisch = other.m_steps[k].statistisch;
        for (std::size_t c = 0; c < kCounters; ++c) {
            sums.sum[c] += other.m_steps[k].sum[c];
            sums.squares[c] += other.m_steps[k].squares[c];
        }
        for (std::size_t p = 0; p < sums.withEmpty.size(); ++p) {
            sums.withEmpty[p] += other.m_steps[k].withEmpty[p];
        }
        for (std::size_t c = 0; c < kCounters; ++c) {
            const std::vector<long long>& theirs = other.m_steps[k].histogram[c];
            std::vector<long long>& mine = sums.histogram[c];
            mine.resize(std::max(mine.size(), theirs.size()));
            for (std::size_t v = 0; v < theirs.size(); ++v) {
                mine[v] += theirs[v];
            }
        }
    }
    m_runs += other.m_runs;
}

double RunStatistics::emptyShare(std::size_t step, std::size_t pair) const {
    return static_cast<double>(m_steps[step].withEmpty[pair]) / static_cast<double>(m_runs);
}

double RunStatistics::mean(std::size_t step, std::size_t counter) const {
    return static_cast<double>(m_steps[step].sum[counter]) / static_cast<double>(m_runs);
}

double RunStatistics::sd(std::size_t step, std::size_t counter) const {
    // From the exact sums, so the result depends on nothing but the runs.
    const auto n = static_cast<long double>(m_runs);
    const auto sum = static_cast<long double>(m_steps[step].sum[counter]);
    const auto squares = static_cast<long double>(m_steps[step].squares[counter]);
    const long double spread = n * squares - sum * sum;
    return static_cast<double>(std::sqrt(std::max(spread, 0.0L)) / n);
}

} // namespace cr::analysis
