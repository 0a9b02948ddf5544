// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/system.h"

#include "analysis/runs.h"
#include "analysis/systemlaw.h"
#include "core/engine.h"
#include "core/lazytwister.h"
#include "core/random.h"
#include "core/run.h"

#include <algorithm>
#include <cmath>

namespace cr::analysis {

namespace {

constexpr std::array<std::string_view, 10> kMarschNames{
    "rot", "schwarz", "manque", "passe", "gerade", "ungerade", "leer", "folge", "gegen", "letzter"};
constexpr std::array<std::string_view, 4> kProgressionNames{"flat", "martingale", "paroli",
                                                            "dalembert"};
constexpr std::array<std::string_view, 3> kZeroNames{"partage", "prison", "verloren"};
constexpr std::array<std::string_view, 3> kPairNames{"rs", "mp", "gu"};

template <typename Enum, std::size_t N>
std::optional<Enum> named(const std::array<std::string_view, N>& names, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (names[i] == name) {
            return static_cast<Enum>(i);
        }
    }
    return std::nullopt;
}

// The wanted sides of the three pairs packed two bits a pair (0: no bet,
// 1 or 2: that side), as the loop below passes them around.
using Wanted = unsigned;
constexpr Wanted wantedSide(Wanted w, int pair) {
    return (w >> (2 * pair)) & 3u;
}

// The tables a session reads, built once from the core's wheel and fields.
struct Tables {
    // The sides of a number in every pair packed as Wanted; 0 for the zero.
    std::array<Wanted, 37> sides{};
    // Which of the six fields of a position the number hits (one bit a
    // field, pair * 2 + side - 1): for a zero, all of them.
    std::array<std::uint8_t, 37> hits{};
    // For the fields hit at a position so far, the side "leer" bets in each
    // pair: the one still empty while the other is not.
    std::array<Wanted, 64> leer{};
};

const Tables& tables() {
    static const Tables t = [] {
        Tables made;
        const ColourTable farbe = makeColourTable();
        const SpinMasks& masks = spinMasks();
        for (int n = 0; n <= 36; ++n) {
            const auto k = static_cast<std::size_t>(n);
            for (int pair = 0; pair < kPairCount; ++pair) {
                if (n != 0) {
                    made.sides[k] |= static_cast<Wanted>(sideOf(static_cast<Pair>(pair), n, farbe))
                                     << (2 * pair);
                }
                // A field the spin touches is no longer empty: the grid's rule.
                for (const int side : {1, 2}) {
                    if (fieldStateOf(masks.out[k], pair, side) != kFieldEmpty) {
                        made.hits[k] |= static_cast<std::uint8_t>(1u << (pair * 2 + side - 1));
                    }
                }
            }
        }
        for (unsigned hit = 0; hit < 64; ++hit) {
            for (int pair = 0; pair < kPairCount; ++pair) {
                const bool first = (hit >> (2 * pair) & 1u) == 0;
                const bool second = (hit >> (2 * pair + 1) & 1u) == 0;
                if (first != second) {
                    made.leer[hit] |= (first ? 1u : 2u) << (2 * pair);
                }
            }
        }
        return made;
    }();
    return t;
}

Wanted pairMask(const std::array<bool, kPairCount>& pairs) {
    Wanted mask = 0;
    for (int pair = 0; pair < kPairCount; ++pair) {
        mask |= pairs[static_cast<std::size_t>(pair)] ? 3u << (2 * pair) : 0u;
    }
    return mask;
}

// One pair's stake line.
struct Line {
    double stake = 0;
    int winsInRow = 0;
    // A prison stake locked by a zero, waiting for the next spin.
    int lockedSide = 0;
    double locked = 0;
};

enum class Outcome { Win, Loss, Neither };

void progress(Line& line, Outcome outcome, const SystemRules& r, double unit, double limit) {
    if (outcome == Outcome::Neither) {
        return;
    }
    const bool win = outcome == Outcome::Win;
    switch (r.progression) {
    case Progression::Flat:
        return;
    case Progression::Martingale:
        line.stake = win ? unit : 2 * line.stake;
        break;
    case Progression::Paroli:
        line.winsInRow = win ? line.winsInRow + 1 : 0;
        if (!win || line.winsInRow >= r.paroliWins) {
            line.stake = unit;
            line.winsInRow = 0;
        } else {
            line.stake *= 2;
        }
        break;
    case Progression::Dalembert:
        // D'Alembert stops at the limit rather than starting over: its stake
        // creeps up a unit at a time, and a player at the limit stays there.
        line.stake = win ? std::max(line.stake - unit, unit) : std::min(line.stake + unit, limit);
        break;
    }
    if (line.stake > limit) { // the table takes no more: back to the unit
        line.stake = unit;
        line.winsInRow = 0;
    }
}

} // namespace

std::optional<Marsch> marschNamed(std::string_view name) {
    return named<Marsch>(kMarschNames, name);
}
std::optional<Progression> progressionNamed(std::string_view name) {
    return named<Progression>(kProgressionNames, name);
}
std::optional<ZeroRule> zeroRuleNamed(std::string_view name) {
    return named<ZeroRule>(kZeroNames, name);
}

std::optional<std::array<bool, kPairCount>> pairsNamed(std::string_view list) {
    std::array<bool, kPairCount> pairs{};
    while (true) {
        const std::size_t comma = list.find(',');
        const std::optional<int> pair = named<int>(kPairNames, list.substr(0, comma));
        if (!pair || pairs[static_cast<std::size_t>(*pair)]) {
            return std::nullopt;
        }
        pairs[static_cast<std::size_t>(*pair)] = true;
        if (comma == std::string_view::npos) {
            return pairs;
        }
        list.remove_prefix(comma + 1);
    }
}

std::string_view nameOf(Marsch marsch) {
    return kMarschNames[static_cast<std::size_t>(marsch)];
}
std::string_view nameOf(Progression progression) {
    return kProgressionNames[static_cast<std::size_t>(progression)];
}
std::string_view nameOf(ZeroRule zero) {
    return kZeroNames[static_cast<std::size_t>(zero)];
}
std::string_view pairName(int pair) {
    return kPairNames[static_cast<std::size_t>(pair)];
}
std::string_view sideName(int pair, int side) {
    return kMarschNames[static_cast<std::size_t>(2 * pair + side - 1)];
}

double houseEdge(ZeroRule zero) {
    return -unitLaw().mean[static_cast<std::size_t>(
        payoffIndex(static_cast<StakeKind>(static_cast<int>(zero)), 0, 1))];
}

SessionResult playSession(const SystemRules& r, const std::uint8_t* numbers, std::size_t count,
                          SessionTrace* trace) {
    const Tables& t = tables();
    const UnitLaw& law = unitLaw();
    const auto unit = static_cast<double>(r.unit);
    const auto limit = static_cast<double>(r.limit);
    const bool limited = r.capital > 0;
    const auto capital = static_cast<double>(r.capital);
    const auto rows = static_cast<std::size_t>(std::max(r.steprate, 1));
    const auto marsch = static_cast<int>(r.marsch);
    const bool fixedChance = r.marsch < Marsch::Leer;
    // A fixed chance plays its own pair on every spin; the others the pairs chosen.
    const Wanted fixedWanted =
        fixedChance ? static_cast<Wanted>(marsch % 2 + 1) << (marsch / 2 * 2) : 0u;
    const Wanted chosen = fixedChance ? 3u << (marsch / 2 * 2) : pairMask(r.pairs);
    const auto newKind = static_cast<StakeKind>(static_cast<int>(r.zero));

    // The fields hit at each position since the session began (leer), and
    // the numbers of the step before (folge, gegen).
    std::vector<std::uint8_t> hit(r.marsch == Marsch::Leer ? rows : 0, 0);
    std::vector<std::uint8_t> before(
        r.marsch == Marsch::Folge || r.marsch == Marsch::Gegen ? rows : 0, 0);
    std::array<Line, kPairCount> lines;
    for (Line& line : lines) {
        line.stake = unit;
    }
    SessionResult s;
    double balance = 0;
    double peak = 0;
    bool anyLocked = false;
    std::size_t p = 0;      // position in the step
    bool laterStep = false; // from step 2 on
    std::size_t k = 0;
    for (; k < count; ++k) {
        const unsigned n = numbers[k];
        Wanted want = fixedWanted;
        switch (r.marsch) {
        case Marsch::Leer:
            want = laterStep ? t.leer[hit[p]] : 0u;
            hit[p] = static_cast<std::uint8_t>(hit[p] | t.hits[n]);
            break;
        case Marsch::Folge:
            want = laterStep ? t.sides[before[p]] : 0u;
            before[p] = static_cast<std::uint8_t>(n);
            break;
        case Marsch::Gegen:
            // The other side in every pair; nothing after a zero.
            want = laterStep && before[p] != 0 ? t.sides[before[p]] ^ 0x3Fu : 0u;
            before[p] = static_cast<std::uint8_t>(n);
            break;
        case Marsch::Letzter:
            want = k > 0 ? t.sides[numbers[k - 1]] : 0u;
            break;
        default:
            break;
        }
        if (++p == rows) {
            p = 0;
            laterStep = true;
        }
        want &= chosen;
        if (want == 0 && !anyLocked) {
            if (trace) {
                trace->balance.push_back(balance);
                trace->expected.push_back(s.expected);
                trace->variance.push_back(s.variance);
                trace->stakes.push_back(0);
            }
            continue;
        }
        // A locked pair places nothing new; the new stakes must be covered.
        double newStakes = 0;
        for (int pair = 0; pair < kPairCount; ++pair) {
            const Line& line = lines[static_cast<std::size_t>(pair)];
            if (line.locked > 0) {
                want &= ~(3u << (2 * pair));
            } else if (wantedSide(want, pair) != 0) {
                newStakes += line.stake;
            }
        }
        bool ruinedNow = false;
        if (limited && newStakes > capital + balance) {
            // Ruined: nothing new goes on the table. A locked stake lies there
            // already, and this spin still decides it.
            ruinedNow = true;
            s.ruined = true;
            want = 0;
            newStakes = 0;
            if (!anyLocked) {
                break;
            }
        }
        const bool lastSpin = k + 1 == count;
        // The stakes on this spin and their payoffs, for the law.
        std::array<int, kPairCount> payoff{};
        std::array<double, kPairCount> amount{};
        int placed = 0;
        const Wanted numberSides = t.sides[n];
        const std::size_t firstBet = trace ? trace->bets.size() : 0;
        anyLocked = false;
        for (int pair = 0; pair < kPairCount; ++pair) {
            Line& line = lines[static_cast<std::size_t>(pair)];
            const auto side = static_cast<int>(wantedSide(want, pair));
            const auto fell = static_cast<int>(wantedSide(numberSides, pair)); // 0 for a zero
            const bool hitSide = fell != 0 && fell == (line.locked > 0 ? line.lockedSide : side);
            if (line.locked > 0) {
                const double stake = line.locked;
                const double back = hitSide ? stake : 0;
                balance += back;
                payoff[static_cast<std::size_t>(placed)] =
                    payoffIndex(StakeKind::Locked, pair, line.lockedSide);
                amount[static_cast<std::size_t>(placed++)] = stake;
                if (trace) {
                    trace->bets.push_back({static_cast<int>(k + 1), static_cast<int>(n), pair,
                                           line.lockedSide, 0, back, 0});
                }
                line.locked = 0;
                progress(line, hitSide ? Outcome::Neither : Outcome::Loss, r, unit, limit);
                continue;
            }
            if (side == 0) {
                continue;
            }
            const double stake = line.stake;
            // A stake the session ends on cannot be locked: it is settled as under partage.
            const StakeKind kind =
                newKind == StakeKind::Prison && lastSpin ? StakeKind::Partage : newKind;
            double back = 0;
            Outcome outcome = Outcome::Loss;
            if (hitSide) {
                back = 2 * stake;
                outcome = Outcome::Win;
            } else if (n == 0 && kind == StakeKind::Partage) {
                back = stake / 2;
            } else if (n == 0 && kind == StakeKind::Prison) {
                line.locked = stake;
                line.lockedSide = side;
                anyLocked = true;
                outcome = Outcome::Neither;
            }
            balance += back - stake;
            ++s.bets;
            s.turnover += stake;
            s.maxStake = std::max(s.maxStake, stake);
            const int index = payoffIndex(kind, pair, side);
            s.expected += stake * law.mean[static_cast<std::size_t>(index)];
            payoff[static_cast<std::size_t>(placed)] = index;
            amount[static_cast<std::size_t>(placed++)] = stake;
            if (trace) {
                trace->bets.push_back(
                    {static_cast<int>(k + 1), static_cast<int>(n), pair, side, stake, back, 0});
            }
            progress(line, outcome, r, unit, limit);
        }
        for (int i = 0; i < placed; ++i) {
            const auto& row =
                law.cov[static_cast<std::size_t>(payoff[static_cast<std::size_t>(i)])];
            for (int j = 0; j < placed; ++j) {
                s.variance += amount[static_cast<std::size_t>(i)] *
                              amount[static_cast<std::size_t>(j)] *
                              row[static_cast<std::size_t>(payoff[static_cast<std::size_t>(j)])];
            }
        }
        peak = std::max(peak, balance);
        s.maxDrawdown = std::max(s.maxDrawdown, peak - balance);
        if (trace) {
            for (std::size_t b = firstBet; b < trace->bets.size(); ++b) {
                trace->bets[b].balance = balance;
            }
            trace->balance.push_back(balance);
            trace->expected.push_back(s.expected);
            trace->variance.push_back(s.variance);
            trace->stakes.push_back(newStakes);
        }
        if (ruinedNow) {
            ++k;
            break;
        }
    }
    s.spins = static_cast<long long>(k);
    s.result = balance;
    return s;
}

void SystemTotals::add(const SessionResult& session) {
    ++sessions;
    bets += session.bets;
    turnover += session.turnover;
    result += session.result;
    expected += session.expected;
    variance += session.variance;
    won += session.result > 0;
    ruined += session.ruined;
    maxDrawdown = std::max(maxDrawdown, session.maxDrawdown);
    maxStake = std::max(maxStake, session.maxStake);
}

void SystemTotals::merge(const SystemTotals& other) {
    sessions += other.sessions;
    bets += other.bets;
    turnover += other.turnover;
    result += other.result;
    expected += other.expected;
    variance += other.variance;
    won += other.won;
    ruined += other.ruined;
    maxDrawdown = std::max(maxDrawdown, other.maxDrawdown);
    maxStake = std::max(maxStake, other.maxStake);
    reached += other.reached;
}

double SystemTotals::sd() const {
    return std::sqrt(variance);
}

std::optional<double> SystemTotals::z() const {
    if (bets == 0 || variance <= 0) {
        return std::nullopt;
    }
    return (result - expected) / sd();
}

SystemTotals systemOfRuns(const SystemRules& rules, const std::vector<std::uint8_t>& numbers,
                          long long runLength, std::atomic<long long>* spinsDone,
                          const std::atomic<bool>* stop) {
    SystemTotals totals;
    const auto length = static_cast<std::size_t>(std::max(runLength, 0LL));
    for (std::size_t start = 0; length > 0 && numbers.size() - start >= length; start += length) {
        if (stop && stop->load(std::memory_order_relaxed)) {
            break;
        }
        totals.add(playSession(rules, numbers.data() + start, length));
        if (spinsDone) {
            spinsDone->fetch_add(static_cast<long long>(length), std::memory_order_relaxed);
        }
    }
    return totals;
}

SystemTotals simulateSystem(const SystemRules& rules, long long runLength, long long runs,
                            std::uint64_t seed, int threads, std::atomic<long long>* done,
                            const std::atomic<bool>* stop, std::optional<double> atLeast) {
    constexpr long long kRunsPerTask = 256;
    const auto tasks = static_cast<std::size_t>((runs + kRunsPerTask - 1) / kRunsPerTask);
    // One total per task, added in task order at the end: sums of doubles
    // then come out the same whichever thread took which task.
    std::vector<SystemTotals> perTask(tasks);
    parallelFor(
        tasks, threads,
        [&](std::size_t task, std::size_t) {
            LazyTwister random;
            const auto length = static_cast<std::size_t>(std::max(runLength, 0LL));
            std::vector<std::uint64_t> words(length);
            std::vector<std::uint8_t> drawn(length);
            const long long first = static_cast<long long>(task) * kRunsPerTask;
            const long long last = std::min(runs, first + kRunsPerTask);
            SystemTotals& totals = perTask[task];
            long long finished = 0;
            for (long long run = first; run < last; ++run) {
                if (stop && stop->load(std::memory_order_relaxed)) {
                    break;
                }
                // Drawn as simulate() draws a run: 53 random bits in [0, 1) a number.
                random.seed(runSeed(seed, run));
                random.draw(words.data(), length);
                for (std::size_t i = 0; i < length; ++i) {
                    const auto bits = static_cast<std::int64_t>(words[i] >> 11);
                    drawn[i] = static_cast<std::uint8_t>(
                        numberFromUniform(static_cast<double>(bits) * 0x1.0p-53));
                }
                const SessionResult session = playSession(rules, drawn.data(), length);
                totals.add(session);
                // Results are whole multiples of half a unit: a hair below counts.
                totals.reached += atLeast && session.result >= *atLeast - 1e-9;
                ++finished;
            }
            if (done) {
                done->fetch_add(finished, std::memory_order_relaxed);
            }
        },
        stop);
    SystemTotals total;
    for (const SystemTotals& part : perTask) {
        total.merge(part);
    }
    return total;
}

} // namespace cr::analysis
