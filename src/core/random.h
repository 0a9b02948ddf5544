// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>

namespace cr {

// Uniform values in [0, 1) for drawing the numbers of a run.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seedFromClock() = 0;
    virtual double next() = 0;
};

// The program's generator; the subclasses choose where a run's seed comes from.
class EngineRandom : public RandomSource {
public:
    double next() final;

protected:
    void seed(std::uint64_t value) { m_engine.seed(value); }

private:
    std::mt19937_64 m_engine;
};

class ClockRandom final : public EngineRandom {
public:
    ClockRandom();
    void seedFromClock() override;
};

// Every run starts from the same seed (chancenraster --seed S), so the same
// entries draw the same numbers at every "Start".
class SeededRandom final : public EngineRandom {
public:
    explicit SeededRandom(std::uint64_t value);
    void seedFromClock() override;

private:
    std::uint64_t m_seed;
};

// Turns a uniform value in [0, 1) into a number 0..36.
inline int numberFromUniform(double r) {
    if (!(r >= 0.0)) {
        return 0;
    }
    const int n = static_cast<int>(r * 37.0);
    return n > 36 ? 36 : n;
}

} // namespace cr
