// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/evaluation.h"
#include "core/run.h"

#include <functional>
#include <vector>

namespace cr {

// The evaluation of a run without any window: the same rules as the window's
// run, spin by spin, recording every completed step. Starts as after Start
// (or Reset) at the given step rate.
class Engine {
public:
    explicit Engine(int steprate);

    void reset();
    void spin(int zahl);
    int steprate() const { return m_steprate; }
    const std::vector<StepResult>& steps() const { return m_steps; }
    // Hands every completed step to sink instead of keeping it in steps(),
    // so a long run takes no memory for its steps.
    using StepSink = std::function<void(const StepResult&)>;
    void sendStepsTo(StepSink sink) { m_sink = std::move(sink); }
    const RunState& state() const { return m_s; }

private:
    int m_steprate;
    RunState m_s;
    std::vector<StepResult> m_steps;
    StepSink m_sink;
};

} // namespace cr
