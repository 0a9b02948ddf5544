#include "core/analysis.h"

namespace cr {

Engine::Engine(int steprate) : m_steprate(steprate < 1 ? 1 : steprate) {
    m_s.farbe = makeColourTable();
    m_s.steprate = m_steprate;
    reset();
}

void Engine::reset() {
    const auto rows = static_cast<std::size_t>(m_steprate) + 1;
    for (FieldTable* table : {&m_s.feldrs, &m_s.feldmp, &m_s.feldgu}) {
        table->assign(rows, {kFieldEmpty, kFieldEmpty, kFieldEmpty});
    }
    m_s.leerrs = m_s.leermp = m_s.leergu = 2 * m_steprate;
    m_s.einmalrs = m_s.einmalmp = m_s.einmalgu = 0;
    m_s.statwert = 2 * m_steprate;
    m_s.zeile = 0;
    m_s.schritt = 1;
    m_steps.clear();
}

// Engine::spin is in evaluation.cpp, where the evaluation can be inlined into it.

} // namespace cr
