// SPDX-License-Identifier: GPL-3.0-or-later
// A session played by the rules: the stake lines with their progression,
// the spins on which something is placed or settled, and the figures and
// trace that come of them.
#include "analysis/system.h"

#include "analysis/systemlaw.h"
#include "analysis/systemmarsch.h"

#include <algorithm>

namespace cr::analysis {

using namespace marsch;

namespace {

// One pair's stake line.
struct Line {
    double stake = 0;
    int winsInRow = 0;
    // A prison stake locked by a zero, waiting for the next spin.
    int lockedSide = 0;
    double locked = 0;
};

// The line's next stake after a stake it played won or lost (a zero counts
// as a loss); a line that played nothing, or whose prison stake was freed,
// stays as it is. Above the table limit a stake goes back to the unit. The
// next stake is picked from the candidates by an index rather than by
// branches: whether a stake wins is a coin toss, and a mispredicted branch
// costs more than the whole step.
template <Progression P>
void progress(Line& line, bool played, bool win, double unit, double limit, int paroliWins) {
    const unsigned play = played;
    if constexpr (P == Progression::Martingale) {
        const double doubled = 2 * line.stake;
        const std::array<double, 3> next{line.stake, doubled, unit};
        line.stake = next[play * (1 + (unsigned{win} | unsigned{doubled > limit}))];
    } else if constexpr (P == Progression::Paroli) {
        const int wins = line.winsInRow + 1;
        const double doubled = 2 * line.stake;
        const bool again = win && wins < paroliWins && !(doubled > limit);
        const std::array<double, 3> next{line.stake, doubled, unit};
        line.stake = next[play * (2 - unsigned{again})];
        line.winsInRow = played ? (again ? wins : 0) : line.winsInRow;
    } else if constexpr (P == Progression::Dalembert) {
        // D'Alembert stops at the limit rather than starting over: its stake
        // creeps up a unit at a time, and a player at the limit stays there.
        const double down = std::max(line.stake - unit, unit);
        const double up = std::min(line.stake + unit, limit);
        const bool over = win ? down > limit : up > limit;
        const std::array<double, 4> next{line.stake, down, up, unit};
        line.stake = next[play * (over ? 3 : 2 - unsigned{win})];
    }
}

// What the trace keeps of a spin played and of a bet.
void traceSpin(SessionTrace& trace, double balance, double expected, double variance,
               double stakes) {
    trace.balance.push_back(balance);
    trace.expected.push_back(expected);
    trace.variance.push_back(variance);
    trace.stakes.push_back(stakes);
}
void traceBet(SessionTrace& trace, const Bet& bet) {
    trace.bets.push_back(bet);
}

// What the table pays back of a stake, by 2 * won + half back on a zero.
constexpr std::array<double, 4> kPaidBack{0, 0.5, 2, 2};

// The session, compiled for each way of following a Marsch, each
// progression, prison or not and traced or not: the loop then carries only
// its own rules.
template <Follow F, Progression P, bool Prison, bool Traced>
SessionResult playAs(const SystemRules& r, const std::uint8_t* numbers, std::size_t count,
                     SessionTrace* trace) {
    const Tables& t = tables();
    const UnitLaw& law = unitLaw();
    const auto unit = static_cast<double>(r.unit);
    const auto limit = static_cast<double>(r.limit);
    const bool limited = r.capital > 0;
    const auto capital = static_cast<double>(r.capital);
    const int paroliWins = r.paroliWins;
    const auto marsch = static_cast<int>(r.marsch);
    // A fixed chance plays its own pair on every spin; the others the pairs chosen.
    const Wanted chosen = F == Follow::Fixed ? 3u << (marsch / 2 * 2) : pairMask(r.pairs);
    const auto newKind = static_cast<StakeKind>(static_cast<int>(r.zero));

    StepMemory memory(static_cast<std::size_t>(
        F == Follow::Leer || F == Follow::Folge ? std::max(r.steprate, 1) : 0));
    Chooser<F> chooser(r, t, memory);
    std::array<Line, kPairCount> lines;
    for (Line& line : lines) {
        line.stake = unit;
    }
    // The running figures live in locals (the trace gets them by value), so
    // that they stay in registers.
    double balance = 0;
    double peak = 0;
    long long bets = 0;
    double turnover = 0;
    double expected = 0;
    double variance = 0;
    double maxDrawdown = 0;
    double maxStake = 0;
    bool ruined = false;
    bool anyLocked = false; // stays false without prison
    // Spin k with the sides wanted on it; false when the session ends there.
    // (`played` then counts the spins played.)
    std::size_t played = count;
    const auto playSpin = [&](std::size_t k, Wanted want) {
        const unsigned n = numbers[k];
        if (want == 0 && !anyLocked) {
            if constexpr (Traced) {
                traceSpin(*trace, balance, expected, variance, 0);
            }
            return true;
        }
        if constexpr (Prison) { // a locked pair places nothing new
            for (int pair = 0; pair < kPairCount; ++pair) {
                if (lines[static_cast<std::size_t>(pair)].locked > 0) {
                    want &= ~(3u << (2 * pair));
                }
            }
        }
        // The new stakes must be covered.
        double newStakes = 0;
        if (limited || Traced) {
            for (int pair = 0; pair < kPairCount; ++pair) {
                newStakes += lines[static_cast<std::size_t>(pair)].stake *
                             static_cast<double>(wantedSide(want, pair) != 0);
            }
        }
        bool ruinedNow = false;
        if (limited && newStakes > capital + balance) {
            // Ruined: nothing new goes on the table. A locked stake lies there
            // already, and this spin still decides it.
            ruinedNow = true;
            ruined = true;
            want = 0;
            newStakes = 0;
            if (!anyLocked) {
                played = k;
                return false;
            }
        }
        const bool lastSpin = k + 1 == count;
        // A stake the session ends on cannot be locked: it is settled as under partage.
        const StakeKind kind = Prison && lastSpin ? StakeKind::Partage : newKind;
        const bool zero = n == 0;
        const bool halfBack = zero && kind == StakeKind::Partage;
        const bool locks = Prison && zero && !lastSpin;
        // The stakes on this spin and their payoffs, for the law.
        std::array<int, kPairCount> payoff{};
        std::array<double, kPairCount> amount{};
        std::size_t placed = 0;
        const Wanted numberSides = t.sides[n];
        [[maybe_unused]] const std::size_t firstBet = Traced ? trace->bets.size() : 0;
        anyLocked = false;
        const auto playPair = [&](int pair) {
            Line& line = lines[static_cast<std::size_t>(pair)];
            const auto fell = static_cast<int>(wantedSide(numberSides, pair)); // 0 for a zero
            if (Prison && line.locked > 0) {
                const double stake = line.locked;
                const bool freed = fell == line.lockedSide;
                const double back = freed ? stake : 0;
                balance += back;
                payoff[static_cast<std::size_t>(placed)] =
                    payoffIndex(StakeKind::Locked, pair, line.lockedSide);
                amount[static_cast<std::size_t>(placed++)] = stake;
                if constexpr (Traced) {
                    traceBet(*trace, {static_cast<int>(k + 1), static_cast<int>(n), pair,
                                      line.lockedSide, 0, back, 0});
                }
                line.locked = 0;
                progress<P>(line, !freed, false, unit, limit, paroliWins);
                return;
            }
            // A pair that places nothing goes through the same steps with a
            // stake of 0: adding 0 changes no sum, and there is no branch to
            // mispredict.
            const auto side = static_cast<int>(wantedSide(want, pair));
            const bool bet = side != 0;
            const double stake = line.stake * static_cast<double>(bet);
            const bool win = bet & (fell == side);
            // Twice the stake back for a win, half of it on a zero under partage.
            const double back = stake * kPaidBack[2 * unsigned{win} + unsigned{halfBack}];
            balance += back - stake;
            bets += bet;
            turnover += stake;
            maxStake = std::max(maxStake, stake);
            const int index = payoffIndex(kind, pair, std::max(side, 1));
            expected += stake * law.mean[static_cast<std::size_t>(index)];
            payoff[static_cast<std::size_t>(placed)] = index;
            amount[static_cast<std::size_t>(placed)] = stake;
            placed += std::size_t{bet};
            if constexpr (Traced) {
                if (bet) {
                    traceBet(*trace, {static_cast<int>(k + 1), static_cast<int>(n), pair, side,
                                      stake, back, 0});
                }
            }
            if (locks && bet) {
                line.locked = stake;
                line.lockedSide = side;
                anyLocked = true;
                return;
            }
            progress<P>(line, bet, win, unit, limit, paroliWins);
        };
        playPair(0);
        playPair(1);
        playPair(2);
        // The slots past the stakes placed hold 0, whose terms add nothing:
        // two or three rows then take the place of a loop over the stakes
        // placed, whose length changes from spin to spin.
        const std::size_t rows = placed > 2 ? 3 : 2;
        for (std::size_t i = 0; i < rows; ++i) {
            const auto& row = law.cov[static_cast<std::size_t>(payoff[i])];
            for (std::size_t j = 0; j < rows; ++j) {
                variance += amount[i] * amount[j] * row[static_cast<std::size_t>(payoff[j])];
            }
        }
        peak = std::max(peak, balance);
        maxDrawdown = std::max(maxDrawdown, peak - balance);
        if constexpr (Traced) {
            for (std::size_t b = firstBet; b < trace->bets.size(); ++b) {
                trace->bets[b].balance = balance;
            }
            traceSpin(*trace, balance, expected, variance, newStakes);
        }
        if (ruinedNow) {
            played = k + 1;
            return false;
        }
        return true;
    };
    // A block of spins at a time, the Marsch first picks the sides of each
    // and the spins on which nothing is placed or settled are left out: a
    // branch per spin on that would be mispredicted often. Under prison the
    // spin after a zero may settle a locked stake.
    constexpr std::size_t kBlock = 1024;
    std::array<std::uint8_t, kBlock> wants;
    std::array<std::uint16_t, kBlock> at;
    [[maybe_unused]] std::size_t traced = 0; // spins in the trace so far
    for (std::size_t begin = 0; begin < count && played == count; begin += kBlock) {
        const std::size_t end = std::min(count, begin + kBlock);
        std::size_t kept = 0;
        Chooser<F> chooses = chooser;
        for (std::size_t k = begin; k < end; ++k) {
            const Wanted want = chooses.next(numbers[k]) & chosen;
            wants[kept] = static_cast<std::uint8_t>(want);
            at[kept] = static_cast<std::uint16_t>(k - begin);
            kept += want != 0 || (Prison && k > 0 && numbers[k - 1] == 0);
        }
        chooser = chooses;
        for (std::size_t i = 0; i < kept; ++i) {
            const std::size_t k = begin + at[i];
            if constexpr (Traced) { // the spins left out, where nothing changed
                for (; traced < k; ++traced) {
                    traceSpin(*trace, balance, expected, variance, 0);
                }
            }
            const bool goesOn = playSpin(k, wants[i]);
            traced = std::min(k + 1, played);
            if (!goesOn) {
                break;
            }
        }
    }
    if constexpr (Traced) {
        for (; traced < played; ++traced) {
            traceSpin(*trace, balance, expected, variance, 0);
        }
    }
    SessionResult s;
    s.spins = static_cast<long long>(played);
    s.bets = bets;
    s.turnover = turnover;
    s.result = balance;
    s.expected = expected;
    s.variance = variance;
    s.maxDrawdown = maxDrawdown;
    s.maxStake = maxStake;
    s.ruined = ruined;
    return s;
}

template <Follow F, Progression P>
SessionResult playWith(const SystemRules& r, const std::uint8_t* numbers, std::size_t count,
                       SessionTrace* trace) {
    if (r.zero == ZeroRule::Prison) {
        return trace ? playAs<F, P, true, true>(r, numbers, count, trace)
                     : playAs<F, P, true, false>(r, numbers, count, trace);
    }
    return trace ? playAs<F, P, false, true>(r, numbers, count, trace)
                 : playAs<F, P, false, false>(r, numbers, count, trace);
}

template <Follow F>
SessionResult playFollowing(const SystemRules& r, const std::uint8_t* numbers, std::size_t count,
                            SessionTrace* trace) {
    switch (r.progression) {
    case Progression::Flat:
        break;
    case Progression::Martingale:
        return playWith<F, Progression::Martingale>(r, numbers, count, trace);
    case Progression::Paroli:
        return playWith<F, Progression::Paroli>(r, numbers, count, trace);
    case Progression::Dalembert:
        return playWith<F, Progression::Dalembert>(r, numbers, count, trace);
    }
    return playWith<F, Progression::Flat>(r, numbers, count, trace);
}

} // namespace

SessionResult playSession(const SystemRules& r, const std::uint8_t* numbers, std::size_t count,
                          SessionTrace* trace) {
    switch (r.marsch) {
    case Marsch::Leer:
        return playFollowing<Follow::Leer>(r, numbers, count, trace);
    case Marsch::Folge:
    case Marsch::Gegen:
        return playFollowing<Follow::Folge>(r, numbers, count, trace);
    case Marsch::Letzter:
        return playFollowing<Follow::Letzter>(r, numbers, count, trace);
    default:
        return playFollowing<Follow::Fixed>(r, numbers, count, trace);
    }
}

} // namespace cr::analysis
