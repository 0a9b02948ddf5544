// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/random.h"

#include <chrono>

namespace cr {

ClockRandom::ClockRandom() {
    seedFromClock();
}

void ClockRandom::seedFromClock() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    seed(static_cast<std::uint64_t>(ticks));
}

SeededRandom::SeededRandom(std::uint64_t value) : m_seed(value) {
    seedFromClock();
}

void SeededRandom::seedFromClock() {
    seed(m_seed);
}

double EngineRandom::next() {
    // 53 random bits scaled into [0, 1): never reaches 1.
    return static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
}

} // namespace cr
