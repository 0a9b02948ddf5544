// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/evaluation.h"

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

// The evaluation of a spin in the window's pass; sidesOfNumber gives the sides
// of a number 1..36. The engine (analysis.cpp) keeps the same rules in packed
// cells, its masks built from the same sides and field states.
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

StepResult stepResultOf(const RunState& s) {
    StepResult r;
    r.step = s.schritt;
    r.statistisch = s.statwert / 2.0;
    r.leer = {s.leerrs, s.leermp, s.leergu};
    r.einmal = {s.einmalrs, s.einmalmp, s.einmalgu};
    return r;
}

} // namespace cr
