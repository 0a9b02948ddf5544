// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/random.h"

#include <random>

namespace cr::bench {

// The same numbers on every run, so that runs compare.
class SeededRandom final : public RandomSource {
public:
    void seedFromClock() override { m_engine.seed(1); }
    double next() override { return static_cast<double>(m_engine() >> 11) * 0x1.0p-53; }

private:
    std::mt19937_64 m_engine{1};
};

} // namespace cr::bench
