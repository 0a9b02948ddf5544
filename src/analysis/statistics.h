// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/evaluation.h"

#include <array>
#include <vector>

namespace cr::analysis {

// The six counters of a step in the order they are listed: leer R/S, M/P,
// G/U, then einmal R/S, M/P, G/U.
inline constexpr std::size_t kCounters = 6;
int counterOf(const StepResult& step, std::size_t counter);

// Per step, the sums over the runs of every counter and of its square.
// Whole numbers add up exactly, so the sums do not depend on the order in
// which runs or partial sums are added.
struct StepSums {
    double statistisch = 0; // the same in every run
    std::array<long long, kCounters> sum{};
    std::array<long long, kCounters> squares{};
    std::array<long long, kPairCount> withEmpty{}; // runs with an empty field in the pair
    // For each counter, how many runs it ended the step at each value.
    std::array<std::vector<long long>, kCounters> histogram;
};

// Mean and standard deviation of each counter per step over runs of equal length.
class RunStatistics {
public:
    // Adds the completed steps of one run.
    void addRun(const std::vector<StepResult>& steps);
    // The same step by step: each completed step as it comes, then the run's end.
    void addStep(const StepResult& step);
    void endRun() { ++m_runs; }
    // Room for this many steps at the first step, so the sums never take
    // twice their size while they grow.
    void expectSteps(std::size_t steps) { m_expected = steps; }
    // Whether addStep also counts each counter's values (StepSums::histogram);
    // off, the sums cost the simulation nothing beyond the means.
    void keepHistograms(bool on) { m_histograms = on; }
    void merge(const RunStatistics& other);

    long long runs() const { return m_runs; }
    const std::vector<StepSums>& steps() const { return m_steps; }
    double mean(std::size_t step, std::size_t counter) const;
    // Divided by the number of runs; 0 for a single run.
    double sd(std::size_t step, std::size_t counter) const;
    // The share of runs with at least one empty field of the pair (0..2).
    double emptyShare(std::size_t step, std::size_t pair) const;

private:
    long long m_runs = 0;
    std::size_t m_expected = 0;
    bool m_histograms = false;
    std::vector<StepSums> m_steps;
};

} // namespace cr::analysis
