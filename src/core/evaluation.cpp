// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/evaluation.h"

#include "core/analysis.h"
#include "core/numparse.h"
#include "core/run.h"

namespace cr {

namespace {

struct PairFields {
    FieldTable& table;
    int& leer;
    int& einmal;
};

// Puts a field out, counting it off where it was counted. No branch on the
// field's state, which random spins make hard to predict.
inline void putOut(const PairFields& f, int p, int side) {
    int& state = f.table[static_cast<std::size_t>(p)][static_cast<std::size_t>(side)];
    f.leer -= state == kFieldEmpty;
    f.einmal -= state == kFieldOnce;
    state = kFieldOut;
}

inline void hit(const PairFields& f, int p, int side, bool firstStep) {
    if (!firstStep) { // a field hit again after step 1 is out, whatever it was
        putOut(f, p, side);
        return;
    }
    int& state = f.table[static_cast<std::size_t>(p)][static_cast<std::size_t>(side)];
    const int empty = state == kFieldEmpty; // every position comes once per step
    state = empty ? kFieldOnce : state;
    f.leer -= empty;
    f.einmal += empty;
}

using Sides = std::array<int, kPairCount>;

Sides sidesOf(int zahl, const ColourTable& farbe) {
    return {sideOf(Pair::RS, zahl, farbe), sideOf(Pair::MP, zahl, farbe),
            sideOf(Pair::GU, zahl, farbe)};
}

// The sides of every number 1..36 under the wheel's colours, as sideOf gives
// them: looked up by the engine, whose colour table is the wheel's for good.
const std::array<Sides, 37>& wheelSides() {
    static const std::array<Sides, 37> table = [] {
        const ColourTable farbe = makeColourTable();
        std::array<Sides, 37> sides{};
        for (int n = 1; n <= 36; ++n) {
            sides[static_cast<std::size_t>(n)] = sidesOf(n, farbe);
        }
        return sides;
    }();
    return table;
}

// The evaluation of a spin, for the window's pass (evaluateSpin) and for the
// engine (Engine::spin below, which gets it inlined); sidesOfNumber gives the
// sides of a number 1..36.
template <typename SidesOfNumber>
[[gnu::always_inline]] inline SpinHits evaluate(RunState& s, int zahl, int p,
                                                SidesOfNumber sidesOfNumber) {
    // The pairs one by one rather than in a loop over an array: so the
    // compiler sees every field table and counter by its place in the state.
    const PairFields rs{s.feldrs, s.leerrs, s.einmalrs};
    const PairFields mp{s.feldmp, s.leermp, s.einmalmp};
    const PairFields gu{s.feldgu, s.leergu, s.einmalgu};
    if (zahl == 0) {
        for (const int side : {1, 2}) {
            putOut(rs, p, side);
            putOut(mp, p, side);
            putOut(gu, p, side);
        }
        return SpinHits{true, {}};
    }
    const bool firstStep = s.schritt == 1;
    const Sides sides = sidesOfNumber(zahl);
    hit(rs, p, sides[0], firstStep);
    hit(mp, p, sides[1], firstStep);
    hit(gu, p, sides[2], firstStep);
    // Built whole at the end, so that the result leaves in registers.
    return SpinHits{false, sides};
}

} // namespace

SpinHits evaluateSpin(RunState& s, int zahl, int p) {
    return evaluate(s, zahl, p, [&s](int n) { return sidesOf(n, s.farbe); });
}

// The engine's spin lives here, beside the evaluation, rather than with the
// rest of the engine in analysis.cpp: inlined, the evaluation costs no call
// and builds no hits that the engine would throw away, and the sides of the
// number come from the table above. A spin of the batch analysis takes a few
// nanoseconds this way; through the calls it took three times as long.
void Engine::spin(int zahl) {
    ++m_s.zeile;
    const auto& sides = wheelSides();
    evaluate(m_s, zahl, m_s.zeile, [&sides](int n) { return sides[static_cast<std::size_t>(n)]; });
    if (m_s.zeile == m_steprate) {
        if (m_sink) {
            m_sink(stepResultOf(m_s));
        } else {
            m_steps.push_back(stepResultOf(m_s));
        }
        m_s.statwert = halvedStatistic(m_s.statwert);
        m_s.zeile = 0;
        ++m_s.schritt;
    }
}

int halvedStatistic(int statwert) {
    return static_cast<int>(roundHalfEven(statwert / 2.0));
}

StepResult stepResultOf(const RunState& s) {
    StepResult r;
    r.step = s.schritt;
    r.statistisch = s.statwert / 2.0;
    r.leer = {s.leerrs, s.leermp, s.leergu};
    r.einmal = {s.einmalrs, s.einmalmp, s.einmalgu};
    return r;
}

} // namespace cr
