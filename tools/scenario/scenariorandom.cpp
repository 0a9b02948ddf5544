// SPDX-License-Identifier: GPL-3.0-or-later
#include "scenariorandom.h"

namespace cr::scenario {

double ScenarioRandom::next() {
    if (!m_queue.empty()) {
        const int n = m_queue.front();
        m_queue.pop_front();
        return (n + 0.5) / 37.0;
    }
    if (m_engine) {
        return static_cast<double>((*m_engine)() >> 11) * 0x1.0p-53;
    }
    m_starved = true;
    return 0.5 / 37.0;
}

} // namespace cr::scenario
