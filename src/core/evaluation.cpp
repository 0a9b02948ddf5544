#include "core/evaluation.h"

#include "core/numparse.h"
#include "core/run.h"

namespace cr {

namespace {

struct PairFields {
    FieldTable& table;
    int& leer;
    int& einmal;
};

void hit(const PairFields& f, int p, int side, bool firstStep) {
    int& state = f.table[static_cast<std::size_t>(p)][static_cast<std::size_t>(side)];
    if (firstStep) {
        if (state == kFieldEmpty) { // every position comes once per step
            state = kFieldOnce;
            --f.leer;
            ++f.einmal;
        }
        return;
    }
    if (state == kFieldEmpty) {
        state = kFieldOut;
        --f.leer;
    } else if (state == kFieldOnce) {
        state = kFieldOut;
        --f.einmal;
    }
}

void zeroOut(const PairFields& f, int p, int side) {
    int& state = f.table[static_cast<std::size_t>(p)][static_cast<std::size_t>(side)];
    if (state == kFieldEmpty) {
        --f.leer;
    } else if (state == kFieldOnce) {
        --f.einmal;
    }
    state = kFieldOut;
}

} // namespace

SpinHits evaluateSpin(RunState& s, int zahl, int p) {
    const PairFields pairs[kPairCount] = {
        {s.feldrs, s.leerrs, s.einmalrs},
        {s.feldmp, s.leermp, s.einmalmp},
        {s.feldgu, s.leergu, s.einmalgu},
    };
    SpinHits hits;
    if (zahl == 0) {
        hits.zero = true;
        for (const PairFields& f : pairs) {
            zeroOut(f, p, 1);
            zeroOut(f, p, 2);
        }
        return hits;
    }
    for (int i = 0; i < kPairCount; ++i) {
        const int side = sideOf(static_cast<Pair>(i), zahl, s.farbe);
        hits.side[static_cast<std::size_t>(i)] = side;
        hit(pairs[i], p, side, s.schritt == 1);
    }
    return hits;
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
