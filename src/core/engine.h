// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/evaluation.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace cr {

// The evaluation of a run without any window: the same rules as the window's
// run, spin by spin, recording every completed step. Starts as after Start
// (or Reset) at the given step rate.
//
// The six fields of a position (two sides of each pair) sit in one 16-bit
// cell, two bits a field holding its state (kFieldEmpty, kFieldOnce,
// kFieldOut), rows of four cells making a 64-bit word. A spin is one table
// look-up and one store: in step 1 the position is hit for the first time,
// so its cell is simply the number's entry; later a hit puts fields out,
// cell = (cell & keep) | out. The counters are counted only at a step end.
class Engine {
public:
    explicit Engine(int steprate);

    void reset();
    // zahl is a number 0..36.
    void spin(int zahl) {
        const auto n = static_cast<std::size_t>(zahl);
        std::uint16_t& cell = m_cells[m_zeile];
        cell = static_cast<std::uint16_t>((cell & m_keep[n]) | m_set[n]);
        if (++m_zeile == m_rows) {
            endStep();
        }
    }
    // The same for count numbers 0..36 in a row, several times faster.
    void spins(const std::uint8_t* numbers, std::size_t count);
    int steprate() const { return m_steprate; }
    std::span<const StepResult> steps() const { return {m_steps.data(), m_stepCount}; }
    // Hands every completed step to sink instead of keeping it in steps(),
    // so a long run takes no memory for its steps.
    using StepSink = std::function<void(const StepResult&)>;
    void sendStepsTo(StepSink sink) { m_sink = std::move(sink); }

    // The counters now, as the window's state holds them: empty fields of
    // RS, MP, GU, then fields hit once of RS, MP, GU. Counts every cell.
    std::array<int, 6> counters() const;
    // Twice the statistic, as RunState::statwert.
    int statwert() const { return m_statwert; }
    // The step under way (1 after Start or Reset).
    int schritt() const { return m_schritt; }

private:
    // The step's end: out of line for the inline spin(), so that it stays small;
    // finishStep is the same work, inlined into the bulk loop of spins().
    void endStep();
    void finishStep();
    void countInto(StepResult& r) const;
    template <std::size_t Rows>
    void stepsInOneWord(const std::uint8_t*& numbers, std::size_t& count);

    int m_steprate;
    std::size_t m_rows;
    std::size_t m_zeile = 0;
    int m_schritt = 1;
    int m_statwert = 0;
    const struct SpinMasks* m_masks;
    std::vector<std::uint16_t> m_cells; // a whole number of 64-bit words
    const std::uint16_t* m_keep = nullptr;
    const std::uint16_t* m_set = nullptr;
    // The completed steps are the first m_stepCount; the rest is room kept
    // from earlier runs, so a reset does not give it back.
    std::vector<StepResult> m_steps;
    std::size_t m_stepCount = 0;
    StepSink m_sink;
};

// The cell of a position after the number zahl was its first hit, and the
// masks of a later hit, derived from the wheel's sides and the field states.
struct SpinMasks {
    std::array<std::uint16_t, 37> first{};
    std::array<std::uint16_t, 37> keep{};
    std::array<std::uint16_t, 37> out{};
};
const SpinMasks& spinMasks();

// The state of one field of a cell (pair 0..2, side 1 or 2).
int fieldStateOf(std::uint16_t cell, int pair, int side);

} // namespace cr
