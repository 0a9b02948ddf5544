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

class ClockRandom final : public RandomSource {
public:
    ClockRandom();
    void seedFromClock() override;
    double next() override;

private:
    std::mt19937_64 m_engine;
};

// Turns a uniform value in [0, 1) into a number 0..36.
int numberFromUniform(double r);

} // namespace cr
