// SPDX-License-Identifier: GPL-3.0-or-later
// Many sessions summed: the sessions of a permanence cut into runs, and
// simulated sessions on several threads with the same sums for any number.
#include "analysis/runs.h"
#include "analysis/system.h"
#include "core/lazytwister.h"
#include "core/random.h"

#include <algorithm>
#include <cmath>

namespace cr::analysis {

void SystemTotals::add(const SessionResult& session) {
    ++sessions;
    bets += session.bets;
    turnover += session.turnover;
    result += session.result;
    expected += session.expected;
    variance += session.variance;
    won += session.result > 0;
    ruined += session.ruined;
    maxDrawdown = std::max(maxDrawdown, session.maxDrawdown);
    maxStake = std::max(maxStake, session.maxStake);
}

void SystemTotals::merge(const SystemTotals& other) {
    sessions += other.sessions;
    bets += other.bets;
    turnover += other.turnover;
    result += other.result;
    expected += other.expected;
    variance += other.variance;
    won += other.won;
    ruined += other.ruined;
    maxDrawdown = std::max(maxDrawdown, other.maxDrawdown);
    maxStake = std::max(maxStake, other.maxStake);
    reached += other.reached;
}

double SystemTotals::sd() const {
    return std::sqrt(variance);
}

std::optional<double> SystemTotals::z() const {
    if (bets == 0 || variance <= 0) {
        return std::nullopt;
    }
    return (result - expected) / sd();
}

SystemTotals systemOfRuns(const SystemRules& rules, const std::vector<std::uint8_t>& numbers,
                          long long runLength, std::atomic<long long>* spinsDone,
                          const std::atomic<bool>* stop) {
    SystemTotals totals;
    const auto length = static_cast<std::size_t>(std::max(runLength, 0LL));
    for (std::size_t start = 0; length > 0 && numbers.size() - start >= length; start += length) {
        if (stop && stop->load(std::memory_order_relaxed)) {
            break;
        }
        totals.add(playSession(rules, numbers.data() + start, length));
        if (spinsDone) {
            spinsDone->fetch_add(static_cast<long long>(length), std::memory_order_relaxed);
        }
    }
    return totals;
}

SystemTotals simulateSystem(const SystemRules& rules, long long runLength, long long runs,
                            std::uint64_t seed, int threads, std::atomic<long long>* done,
                            const std::atomic<bool>* stop, std::optional<double> atLeast) {
    constexpr long long kRunsPerTask = 256;
    const auto tasks = static_cast<std::size_t>((runs + kRunsPerTask - 1) / kRunsPerTask);
    // One total per task, added in task order at the end: sums of doubles
    // then come out the same whichever thread took which task.
    std::vector<SystemTotals> perTask(tasks);
    parallelFor(
        tasks, threads,
        [&](std::size_t task, std::size_t) {
            LazyTwister random;
            const auto length = static_cast<std::size_t>(std::max(runLength, 0LL));
            std::vector<std::uint64_t> words(length);
            std::vector<std::uint8_t> drawn(length);
            const long long first = static_cast<long long>(task) * kRunsPerTask;
            const long long last = std::min(runs, first + kRunsPerTask);
            SystemTotals& totals = perTask[task];
            long long finished = 0;
            for (long long run = first; run < last; ++run) {
                if (stop && stop->load(std::memory_order_relaxed)) {
                    break;
                }
                // Drawn as simulate() draws a run: 53 random bits in [0, 1) a number.
                random.seed(runSeed(seed, run));
                random.draw(words.data(), length);
                for (std::size_t i = 0; i < length; ++i) {
                    const auto bits = static_cast<std::int64_t>(words[i] >> 11);
                    drawn[i] = static_cast<std::uint8_t>(
                        numberFromUniform(static_cast<double>(bits) * 0x1.0p-53));
                }
                const SessionResult session = playSession(rules, drawn.data(), length);
                totals.add(session);
                // Results are whole multiples of half a unit: a hair below counts.
                totals.reached += atLeast && session.result >= *atLeast - 1e-9;
                ++finished;
            }
            if (done) {
                done->fetch_add(finished, std::memory_order_relaxed);
            }
        },
        stop);
    SystemTotals total;
    for (const SystemTotals& part : perTask) {
        total.merge(part);
    }
    return total;
}

} // namespace cr::analysis
