// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/oddruns.h"

#include "analysis/goodness.h"
#include "analysis/runs.h"
#include "core/engine.h"
#include "core/expectation.h"

#include <algorithm>
#include <cmath>

namespace cr::analysis {

namespace {

// Keeps the `count` farthest runs seen so far, farthest first.
class Farthest {
public:
    explicit Farthest(std::size_t count) : m_count(count) {}

    void offer(const OddRun& run) {
        if (m_count == 0) {
            return;
        }
        if (m_runs.size() == m_count && !before(run, m_runs.back())) {
            return;
        }
        m_runs.insert(std::upper_bound(m_runs.begin(), m_runs.end(), run, before), run);
        if (m_runs.size() > m_count) {
            m_runs.pop_back();
        }
    }
    std::vector<OddRun> take() { return std::move(m_runs); }

private:
    // Farther first; the sources' and runs' own order among equals.
    static bool before(const OddRun& a, const OddRun& b) {
        const double da = std::abs(a.distance);
        const double db = std::abs(b.distance);
        if (da != db) {
            return da > db;
        }
        return a.source != b.source ? a.source < b.source : a.run < b.run;
    }

    std::size_t m_count;
    std::vector<OddRun> m_runs;
};

} // namespace

std::vector<OddRun> oddestRuns(const std::vector<Source>& sources, const JobInput& input, int step,
                               std::size_t counter, std::size_t count, JobProgress* progress) {
    const long long length = input.runLength;
    const long long needed = static_cast<long long>(step) * input.steprate;
    if (step < 1 || counter >= kCounters || input.steprate < 1 || needed > length) {
        return {};
    }
    const double mean = expectedCount(input.steprate, step);
    Farthest farthest(count);
    Engine engine(input.steprate);
    const auto stopped = [progress] {
        return progress && progress->stop.load(std::memory_order_relaxed);
    };
    if (progress) {
        long long runs = input.simulate ? input.runs : 0;
        for (const Source& source : sources) {
            runs += input.simulate ? 0 : static_cast<long long>(source.numbers.size()) / length;
        }
        progress->spinsPerUnit = needed;
        progress->unitsTotal = runs;
    }
    const auto look = [&](std::size_t source, long long run, const std::uint8_t* numbers) {
        engine.reset();
        engine.spins(numbers, static_cast<std::size_t>(needed));
        const int value = counterOf(engine.steps()[static_cast<std::size_t>(step - 1)], counter);
        farthest.offer({source, run, run * length + 1, value, value - mean});
        if (progress) {
            progress->unitsDone.fetch_add(1, std::memory_order_relaxed);
        }
    };
    if (input.simulate) {
        for (long long run = 0; run < input.runs && !stopped(); ++run) {
            look(0, run, simulatedRun(input.seed, run, needed).data());
        }
        return farthest.take();
    }
    for (std::size_t s = 0; s < sources.size(); ++s) {
        const auto spins = static_cast<long long>(sources[s].numbers.size());
        for (long long run = 0; (run + 1) * length <= spins && !stopped(); ++run) {
            look(s, run, sources[s].numbers.data() + run * length);
        }
    }
    return farthest.take();
}

FarRuns runsAtLeastAsFar(const RunStatistics& stats, int steprate, int step, std::size_t counter,
                         int value) {
    FarRuns far;
    if (step < 1 || static_cast<std::size_t>(step) > stats.steps().size() || counter >= kCounters) {
        return far;
    }
    const double q = 2 * fieldChance(step);
    const double mean = steprate * q;
    const double distance = std::abs(value - mean) * (1 - 1e-12); // the value itself counts
    const std::vector<long long>& counts =
        stats.steps()[static_cast<std::size_t>(step - 1)].histogram[counter];
    for (std::size_t v = 0; v < counts.size(); ++v) {
        if (std::abs(static_cast<double>(v) - mean) >= distance) {
            far.seen += counts[v];
        }
    }
    far.expected = static_cast<double>(stats.runs()) * atLeastAsFar(steprate, q, value);
    return far;
}

} // namespace cr::analysis
