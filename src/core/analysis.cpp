// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/analysis.h"

namespace cr {

Engine::Engine(int steprate) : m_steprate(steprate < 1 ? 1 : steprate) {
    m_s.farbe = makeColourTable();
    m_s.steprate = m_steprate;
    reset();
}

void Engine::reset() {
    freshEvaluation(m_s, m_steprate);
    m_steps.clear();
}

// Engine::spin is in evaluation.cpp, where the evaluation can be inlined into it.

} // namespace cr
