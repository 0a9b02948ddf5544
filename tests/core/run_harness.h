// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/random.h"
#include "core/run.h"
#include "support/memory_window.h"

#include <array>
#include <deque>
#include <span>
#include <string_view>
#include <tuple>
#include <vector>

namespace cr::testing {

// Delivers queued numbers, each as the uniform value (n + 0.5) / 37.
class QueuedRandom final : public RandomSource {
public:
    std::deque<int> queue;
    int seeds = 0;
    void seedFromClock() override { ++seeds; }
    double next() override {
        int n = 0;
        if (!queue.empty()) {
            n = queue.front();
            queue.pop_front();
        }
        return (n + 0.5) / 37.0;
    }
};

// A run control wired to an in-memory window and queued numbers, started up.
// A confirmation box with no answer queued is answered No.
struct Harness {
    support::MemoryWindow window;
    QueuedRandom random;
    RunControl run{window, random, ","};

    Harness() {
        window.answerWhenNoneQueued = false;
        window.run = &run;
        run.startup();
    }
    // Types the number of spins and the step rate, queues the numbers and starts.
    void startWith(std::string_view spins, std::string_view steprate,
                   const std::vector<int>& numbers) {
        window.type(Control::textanzahl, spins);
        window.type(Control::textwiederhol, steprate);
        random.queue.assign(numbers.begin(), numbers.end());
        run.start();
    }
};

// The six counters: leer R/S, M/P, G/U, then 1x (rot) R/S, M/P, G/U.
inline std::array<int, 6> countersOf(const RunState& s) {
    return {s.leerrs, s.leermp, s.leergu, s.einmalrs, s.einmalmp, s.einmalgu};
}

// The numbers of recorded steps, comparable as a whole.
inline std::vector<std::tuple<int, double, std::array<int, 3>, std::array<int, 3>>>
numbersOf(std::span<const StepResult> steps) {
    std::vector<std::tuple<int, double, std::array<int, 3>, std::array<int, 3>>> numbers;
    for (const StepResult& r : steps) {
        numbers.emplace_back(r.step, r.statistisch, r.leer, r.einmal);
    }
    return numbers;
}

} // namespace cr::testing
