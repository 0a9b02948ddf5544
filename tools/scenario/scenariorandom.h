// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/random.h"

#include <deque>
#include <optional>
#include <random>

namespace cr::scenario {

// Queued numbers first, then a seeded generator. A draw with neither is
// remembered as a failure for the runner to report.
class ScenarioRandom final : public RandomSource {
public:
    void queue(int number) { m_queue.push_back(number); }
    void seed(std::uint64_t seed) { m_engine.emplace(seed); }
    void seedFromClock() override {}
    double next() override;
    bool starved() const { return m_starved; }

private:
    std::deque<int> m_queue;
    std::optional<std::mt19937_64> m_engine;
    bool m_starved = false;
};

} // namespace cr::scenario
