// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/runs.h"
#include "analysis/system.h"
#include "analysis/systemlaw.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace cr::analysis;

// Red numbers, written out: the test does not trust the program's table.
bool isRed(int n) {
    for (const int red : {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36}) {
        if (n == red) {
            return true;
        }
    }
    return false;
}

// Side 1 or 2 of a number 1..36 in pair 0 (R/S), 1 (M/P), 2 (G/U).
int sideIn(int pair, int n) {
    if (pair == 0) {
        return isRed(n) ? 1 : 2;
    }
    if (pair == 1) {
        return n <= 18 ? 1 : 2;
    }
    return n % 2 == 0 ? 1 : 2;
}

SystemRules rulesOf(Marsch marsch, Progression progression = Progression::Flat,
                    ZeroRule zero = ZeroRule::Partage, int steprate = 1) {
    SystemRules r;
    r.marsch = marsch;
    r.progression = progression;
    r.zero = zero;
    r.steprate = steprate;
    return r;
}

struct HandCase {
    std::string name;
    SystemRules rules;
    std::vector<std::uint8_t> numbers;
    double result;
    long long bets;
    double turnover;
    long long spins;
    bool ruined = false;
};

void PrintTo(const HandCase& c, std::ostream* os) {
    *os << c.name;
}

class HandCounted : public testing::TestWithParam<HandCase> {};

TEST_P(HandCounted, Session) {
    const HandCase& c = GetParam();
    const SessionResult s = playSession(c.rules, c.numbers);
    EXPECT_DOUBLE_EQ(s.result, c.result);
    EXPECT_EQ(s.bets, c.bets);
    EXPECT_DOUBLE_EQ(s.turnover, c.turnover);
    EXPECT_EQ(s.spins, c.spins);
    EXPECT_EQ(s.ruined, c.ruined);
}

SystemRules with(SystemRules r, long long limit, long long capital = 0, int paroli = 3,
                 std::array<bool, 3> pairs = {true, true, true}) {
    r.limit = limit;
    r.capital = capital;
    r.paroliWins = paroli;
    r.pairs = pairs;
    return r;
}

constexpr std::array<bool, 3> kRS{true, false, false};
constexpr std::array<bool, 3> kGU{false, false, true};

INSTANTIATE_TEST_SUITE_P(
    Rules, HandCounted,
    testing::Values(
        // 1 red +1, 2 black -1, 0 half back -0.5, 3 red +1.
        HandCase{"RotFlatPartage", rulesOf(Marsch::Rot), {1, 2, 0, 3}, 0.5, 4, 4, 4},
        // 19 passe +1, 1 manque -1, 0 -0.5.
        HandCase{"PasseFlat", rulesOf(Marsch::Passe), {19, 1, 0}, -0.5, 3, 3, 3},
        // 0 and 1 against Ungerade: -1 (all lost), +1.
        HandCase{"UngeradeVerloren",
                 rulesOf(Marsch::Ungerade, Progression::Flat, ZeroRule::Verloren),
                 {0, 1},
                 0,
                 2,
                 2,
                 2},
        // Stakes 1, 2 lost on black, 4 on the zero (half back: -2), then 8 wins.
        HandCase{
            "Martingale", rulesOf(Marsch::Rot, Progression::Martingale), {2, 4, 0, 1}, 3, 4, 15, 4},
        // As above with limit 4: after the zero 8 is above it, so 1 wins 1.
        HandCase{"MartingaleLimit",
                 with(rulesOf(Marsch::Rot, Progression::Martingale), 4),
                 {2, 4, 0, 1},
                 -4,
                 4,
                 8,
                 4},
        // Paroli of 2: 1 wins (+1), 2 wins (+2) and back to 1, 1 wins (+1), 2 lost.
        HandCase{"Paroli",
                 with(rulesOf(Marsch::Rot, Progression::Paroli), 1000, 0, 2),
                 {1, 3, 5, 2},
                 2,
                 4,
                 6,
                 4},
        // D'Alembert at limit 2: 1 lost, 2 lost, stays 2 (the limit) and wins, 1 wins.
        HandCase{"Dalembert",
                 with(rulesOf(Marsch::Rot, Progression::Dalembert), 2),
                 {2, 4, 1, 3},
                 0,
                 4,
                 6,
                 4},
        // Prison: 0 locks 1, 1 frees it (no new stake); 0 locks 1 again, 2
        // loses it; the last 0 cannot lock and pays half back.
        HandCase{"PrisonFlat",
                 rulesOf(Marsch::Rot, Progression::Flat, ZeroRule::Prison),
                 {0, 1, 0, 2, 0},
                 -1.5,
                 3,
                 3,
                 5},
        // A freed stake is neither win nor loss: 1, freed, 1 lost, 2 wins.
        HandCase{"PrisonMartingaleFreed",
                 rulesOf(Marsch::Rot, Progression::Martingale, ZeroRule::Prison),
                 {0, 1, 2, 3},
                 1,
                 3,
                 4,
                 4},
        // A lost locked stake is a loss: 1 locked and lost, then 2 wins.
        HandCase{"PrisonMartingaleLost",
                 rulesOf(Marsch::Rot, Progression::Martingale, ZeroRule::Prison),
                 {0, 2, 1},
                 1,
                 2,
                 3,
                 3},
        // Capital 3: 1 and 2 lost leave nothing for the 4.
        HandCase{"Ruin",
                 with(rulesOf(Marsch::Rot, Progression::Martingale), 1000, 3),
                 {2, 4, 1},
                 -3,
                 2,
                 3,
                 2,
                 true},
        // Step rate 2, R/S: step 1 hits rot at 1, schwarz at 2. Step 2 bets
        // schwarz at 1 (4 wins) and rot at 2 (0: -0.5); then nothing is empty.
        HandCase{
            "Leer",
            with(rulesOf(Marsch::Leer, Progression::Flat, ZeroRule::Partage, 2), 1000, 0, 3, kRS),
            {1, 2, 4, 0, 3, 5},
            0.5,
            2,
            2,
            6},
        // Step rate 1, three pairs: after 1 bets schwarz, passe, gerade on 2
        // (+1 -1 +1); then only passe is empty and wins on 20.
        HandCase{"LeerThreePairs",
                 rulesOf(Marsch::Leer, Progression::Flat, ZeroRule::Partage, 1),
                 {1, 2, 20},
                 2,
                 4,
                 4,
                 3},
        // Step rate 2, R/S: rot on 3 (+1), schwarz on 6 (+1), rot on 0
        // (-0.5), schwarz on 5 (-1).
        HandCase{
            "Folge",
            with(rulesOf(Marsch::Folge, Progression::Flat, ZeroRule::Partage, 2), 1000, 0, 3, kRS),
            {1, 2, 3, 6, 0, 5},
            0.5,
            4,
            4,
            6},
        // The other sides: -1, -1, -0.5, +1.
        HandCase{
            "Gegen",
            with(rulesOf(Marsch::Gegen, Progression::Flat, ZeroRule::Partage, 2), 1000, 0, 3, kRS),
            {1, 2, 3, 6, 0, 5},
            -1.5,
            4,
            4,
            6},
        // G/U: none first, gerade on 4 (+1), gerade on 0 (-0.5), none after
        // the zero, ungerade on 7 (+1), ungerade on 8 (-1).
        HandCase{"Letzter",
                 with(rulesOf(Marsch::Letzter), 1000, 0, 3, kGU),
                 {2, 4, 0, 5, 7, 8},
                 0.5,
                 4,
                 4,
                 6}),
    [](const testing::TestParamInfo<HandCase>& param) { return param.param.name; });

TEST(SystemLaw, VarianceOfOneSpinCountsTheSharedNumbers) {
    // One unit on rot under partage: +1 or -1 (18 numbers each), -1/2 on the
    // zero; mean -1/74, mean square (36 + 1/4) / 37.
    const SessionResult one = playSession(rulesOf(Marsch::Rot), std::vector<std::uint8_t>{5});
    EXPECT_NEAR(one.variance, 36.25 / 37 - 1.0 / (74.0 * 74.0), 1e-12);
    EXPECT_NEAR(one.expected, -1.0 / 74, 1e-15);
    // Leer on R/S and G/U after a 1 (red, odd) bets schwarz and gerade
    // together: both win on the 10 black even numbers (+2), both lose on
    // the 10 red odd ones (-2), one each on the other 16 (0), the zero -1.
    SystemRules leer = with(rulesOf(Marsch::Leer), 1000, 0, 3, {true, false, true});
    const SessionResult two = playSession(leer, std::vector<std::uint8_t>{1, 2});
    EXPECT_NEAR(two.variance, (10 * 4 + 10 * 4 + 1) / 37.0 - 1.0 / (37.0 * 37.0), 1e-12);
    EXPECT_NEAR(two.expected, -2.0 / 74, 1e-15);
    EXPECT_NEAR(houseEdge(ZeroRule::Prison), 19.0 / 1369, 1e-15);
    EXPECT_NEAR(houseEdge(ZeroRule::Verloren), 1.0 / 37, 1e-15);
}

// ---- A plain replay of the rules, written apart from the program's. ----

double payoffOf(ZeroRule zero, bool won, int n) {
    if (won) {
        return 1;
    }
    if (n != 0) {
        return -1;
    }
    return zero == ZeroRule::Partage ? -0.5 : zero == ZeroRule::Prison ? -19.0 / 37 : -1;
}

SessionResult plainSession(const SystemRules& r, const std::vector<std::uint8_t>& numbers,
                           std::vector<Bet>& log) {
    const int rows = r.steprate;
    // everHit[p][pair][side-1]: that field was hit since the session began.
    std::vector<std::array<std::array<bool, 2>, 3>> everHit(static_cast<std::size_t>(rows));
    std::array<double, 3> stake{};
    std::array<int, 3> wins{};
    std::array<double, 3> locked{};
    std::array<int, 3> lockedSide{};
    stake.fill(static_cast<double>(r.unit));
    SessionResult s;
    double balance = 0;
    double peak = 0;
    const int fixed = static_cast<int>(r.marsch);
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        const int n = numbers[k];
        const std::size_t p = k % static_cast<std::size_t>(rows);
        const bool later = k >= static_cast<std::size_t>(rows);
        std::array<int, 3> bet{};
        for (int pair = 0; pair < 3; ++pair) {
            const auto i = static_cast<std::size_t>(pair);
            if (r.marsch < Marsch::Leer) {
                bet[i] = fixed / 2 == pair ? fixed % 2 + 1 : 0;
                continue;
            }
            if (!r.pairs[i]) {
                continue;
            }
            if (r.marsch == Marsch::Leer && later) {
                const bool e1 = !everHit[p][i][0];
                const bool e2 = !everHit[p][i][1];
                bet[i] = e1 && !e2 ? 1 : e2 && !e1 ? 2 : 0;
            }
            const int before = later ? numbers[k - static_cast<std::size_t>(rows)] : 0;
            if (r.marsch == Marsch::Folge && before != 0) {
                bet[i] = sideIn(pair, before);
            }
            if (r.marsch == Marsch::Gegen && before != 0) {
                bet[i] = 3 - sideIn(pair, before);
            }
            if (r.marsch == Marsch::Letzter && k > 0 && numbers[k - 1] != 0) {
                bet[i] = sideIn(pair, numbers[k - 1]);
            }
        }
        for (int pair = 0; pair < 3; ++pair) {
            const auto i = static_cast<std::size_t>(pair);
            everHit[p][i][0] = everHit[p][i][0] || n == 0 || sideIn(pair, n) == 1;
            everHit[p][i][1] = everHit[p][i][1] || n == 0 || sideIn(pair, n) == 2;
        }
        double wanted = 0;
        bool anyLocked = false;
        for (std::size_t i = 0; i < 3; ++i) {
            if (locked[i] > 0) {
                bet[i] = 0;
                anyLocked = true;
            }
            wanted += bet[i] != 0 ? stake[i] : 0;
        }
        bool ruined = false;
        if (r.capital > 0 && wanted > static_cast<double>(r.capital) + balance) {
            ruined = true;
            s.ruined = true;
            bet = {0, 0, 0};
            if (!anyLocked) {
                break;
            }
        }
        if (!anyLocked && bet == std::array<int, 3>{}) {
            s.spins = static_cast<long long>(k) + 1;
            continue;
        }
        // The value of everything on this spin, for each of the 37 numbers.
        std::array<double, 37> value{};
        const bool last = k + 1 == numbers.size();
        const ZeroRule zero = r.zero == ZeroRule::Prison && last ? ZeroRule::Partage : r.zero;
        for (int pair = 0; pair < 3; ++pair) {
            const auto i = static_cast<std::size_t>(pair);
            const int side = locked[i] > 0 ? lockedSide[i] : bet[i];
            if (side == 0) {
                continue;
            }
            const bool won = n != 0 && sideIn(pair, n) == side;
            for (int x = 0; x < 37; ++x) {
                const bool winsOn = x != 0 && sideIn(pair, x) == side;
                value[static_cast<std::size_t>(x)] +=
                    locked[i] > 0 ? locked[i] * ((winsOn ? 1.0 : 0.0) - 18.0 / 37)
                                  : stake[i] * payoffOf(zero, winsOn, x);
            }
            int outcome = won ? 1 : -1; // 1 win, -1 loss, 0 neither
            if (locked[i] > 0) {
                const double back = won ? locked[i] : 0;
                balance += back;
                log.push_back({static_cast<int>(k) + 1, n, pair, side, 0, back, 0});
                locked[i] = 0;
                outcome = won ? 0 : -1;
            } else {
                double back = won ? 2 * stake[i] : 0;
                if (n == 0 && zero == ZeroRule::Partage) {
                    back = stake[i] / 2;
                }
                if (n == 0 && zero == ZeroRule::Prison) {
                    locked[i] = stake[i];
                    lockedSide[i] = side;
                    outcome = 0;
                }
                balance += back - stake[i];
                ++s.bets;
                s.turnover += stake[i];
                s.maxStake = std::max(s.maxStake, stake[i]);
                s.expected += stake[i] * ((18.0 - 18.0) / 37 + payoffOf(zero, false, 0) / 37);
                log.push_back({static_cast<int>(k) + 1, n, pair, side, stake[i], back, 0});
            }
            const double unit = static_cast<double>(r.unit);
            const double limit = static_cast<double>(r.limit);
            if (outcome == 0 || r.progression == Progression::Flat) {
                continue;
            }
            if (r.progression == Progression::Martingale) {
                stake[i] = outcome > 0 ? unit : 2 * stake[i];
            } else if (r.progression == Progression::Paroli) {
                wins[i] = outcome > 0 ? wins[i] + 1 : 0;
                stake[i] = outcome > 0 && wins[i] < r.paroliWins ? 2 * stake[i] : unit;
                wins[i] = stake[i] == unit ? 0 : wins[i];
            } else {
                stake[i] = outcome > 0 ? std::max(unit, stake[i] - unit)
                                       : std::min(limit, stake[i] + unit);
            }
            if (stake[i] > limit) {
                stake[i] = unit;
                wins[i] = 0;
            }
        }
        double sum = 0;
        double squares = 0;
        for (const double v : value) {
            sum += v;
            squares += v * v;
        }
        s.variance += squares / 37 - (sum / 37) * (sum / 37);
        for (Bet& b : log) {
            b.balance = b.spin == static_cast<int>(k) + 1 ? balance : b.balance;
        }
        peak = std::max(peak, balance);
        s.maxDrawdown = std::max(s.maxDrawdown, peak - balance);
        s.spins = static_cast<long long>(k) + 1;
        if (ruined) {
            break;
        }
    }
    s.result = balance;
    return s;
}

TEST(SystemRules, SameAsAPlainReplay) {
    std::mt19937 random(20240611);
    std::vector<std::uint8_t> numbers(90);
    const std::array<Marsch, 10> marsches{
        Marsch::Rot,      Marsch::Schwarz, Marsch::Manque, Marsch::Passe, Marsch::Gerade,
        Marsch::Ungerade, Marsch::Leer,    Marsch::Folge,  Marsch::Gegen, Marsch::Letzter};
    int checked = 0;
    for (const Marsch marsch : marsches) {
        for (const auto progression : {Progression::Flat, Progression::Martingale,
                                       Progression::Paroli, Progression::Dalembert}) {
            for (const auto zero : {ZeroRule::Partage, ZeroRule::Prison, ZeroRule::Verloren}) {
                for (const long long limit : {1000LL, 6LL}) {
                    for (const long long capital : {0LL, 7LL, 40LL}) {
                        SystemRules r = rulesOf(marsch, progression, zero, 1 + checked % 4);
                        r.limit = limit;
                        r.capital = capital;
                        r.unit = 1 + checked % 2;
                        r.paroliWins = 2 + checked % 3;
                        r.pairs = {checked % 3 != 0, checked % 5 != 1, true};
                        // Some sessions long enough to be played in several blocks.
                        numbers.resize(checked % 4 == 0 ? 2100 : 90);
                        // Many zeros, so that prison locks often.
                        for (std::uint8_t& n : numbers) {
                            const auto draw = static_cast<int>(random() % 45);
                            n = static_cast<std::uint8_t>(draw > 36 ? 0 : draw);
                        }
                        std::vector<Bet> plainLog;
                        const SessionResult want = plainSession(r, numbers, plainLog);
                        SessionTrace trace;
                        const SessionResult got = playSession(r, numbers, &trace);
                        // Without a trace, the same to the last bit.
                        const SessionResult quiet = playSession(r, numbers);
                        const std::string what =
                            std::string(nameOf(marsch)) + " " + std::string(nameOf(progression)) +
                            " " + std::string(nameOf(zero)) + " limit " + std::to_string(limit) +
                            " capital " + std::to_string(capital);
                        ASSERT_EQ(got.result, want.result) << what;
                        ASSERT_EQ(got.bets, want.bets) << what;
                        ASSERT_EQ(got.turnover, want.turnover) << what;
                        ASSERT_EQ(got.spins, want.spins) << what;
                        ASSERT_EQ(got.ruined, want.ruined) << what;
                        ASSERT_EQ(got.maxStake, want.maxStake) << what;
                        ASSERT_EQ(got.maxDrawdown, want.maxDrawdown) << what;
                        ASSERT_NEAR(got.expected, want.expected, 1e-9) << what;
                        ASSERT_NEAR(got.variance, want.variance, 1e-9 * (1 + want.variance))
                            << what;
                        ASSERT_TRUE(quiet.result == got.result && quiet.bets == got.bets &&
                                    quiet.turnover == got.turnover && quiet.spins == got.spins &&
                                    quiet.ruined == got.ruined && quiet.maxStake == got.maxStake &&
                                    quiet.maxDrawdown == got.maxDrawdown &&
                                    quiet.expected == got.expected &&
                                    quiet.variance == got.variance)
                            << what;
                        ASSERT_EQ(trace.bets.size(), plainLog.size()) << what;
                        for (std::size_t b = 0; b < plainLog.size(); ++b) {
                            const Bet& x = trace.bets[b];
                            const Bet& y = plainLog[b];
                            ASSERT_TRUE(x.spin == y.spin && x.number == y.number &&
                                        x.pair == y.pair && x.side == y.side &&
                                        x.stake == y.stake && x.paidBack == y.paidBack &&
                                        x.balance == y.balance)
                                << what << " bet " << b;
                        }
                        ASSERT_EQ(trace.balance.size(), static_cast<std::size_t>(got.spins));
                        if (got.spins > 0) {
                            ASSERT_EQ(trace.balance.back(), got.result) << what;
                        }
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_EQ(checked, 10 * 4 * 3 * 2 * 3);
}

TEST(SystemRules, SimulationDrawsTheRunsOfSimulate) {
    SystemRules r = rulesOf(Marsch::Leer, Progression::Martingale, ZeroRule::Prison, 5);
    SystemTotals replayed;
    for (long long run = 0; run < 300; ++run) {
        replayed.add(playSession(r, simulatedRun(99, run, 60)));
    }
    for (const int threads : {1, 3}) {
        const SystemTotals simulated = simulateSystem(r, 60, 300, 99, threads);
        EXPECT_EQ(simulated.sessions, 300);
        EXPECT_EQ(simulated.bets, replayed.bets);
        EXPECT_EQ(simulated.result, replayed.result);
        EXPECT_EQ(simulated.won, replayed.won);
        EXPECT_NEAR(simulated.variance, replayed.variance, 1e-9 * replayed.variance);
    }
}

// The result less its expectation has mean 0 under every zero rule, and the
// expectation is -edge x turnover (up to the stakes of a session's last spin,
// which prison settles as partage).
TEST(SystemLaw, SimulatedMeanIsMinusEdgeTimesTurnover) {
    for (const auto zero : {ZeroRule::Partage, ZeroRule::Prison, ZeroRule::Verloren}) {
        const SystemRules r = with(rulesOf(Marsch::Folge, Progression::Dalembert, zero, 37), 8);
        const SystemTotals t = simulateSystem(r, 370, 8000, 5, 2);
        const double edge = zero == ZeroRule::Partage  ? 1.0 / 74
                            : zero == ZeroRule::Prison ? 19.0 / 1369
                                                       : 1.0 / 37;
        EXPECT_NEAR(t.expected, -edge * t.turnover, 1e-3 * edge * t.turnover) << nameOf(zero);
        EXPECT_LT(std::abs(t.result - t.expected), 4 * t.sd()) << nameOf(zero);
        EXPECT_LT(std::abs(t.result + edge * t.turnover), 4 * t.sd()) << nameOf(zero);
    }
}

// The spread of session results about their expectation against the exact
// variance, with one pair and with three (their covariances count).
TEST(SystemLaw, SimulatedVarianceIsTheExactOne) {
    for (const bool threePairs : {false, true}) {
        for (const auto zero : {ZeroRule::Partage, ZeroRule::Prison, ZeroRule::Verloren}) {
            const SystemRules r =
                with(rulesOf(Marsch::Folge, Progression::Dalembert, zero, 2), 5, 0, 3,
                     threePairs ? std::array<bool, 3>{true, true, true} : kRS);
            const int sessions = 5000;
            double squares = 0;
            double exact = 0;
            for (int run = 0; run < sessions; ++run) {
                const SessionResult s = playSession(r, simulatedRun(11, run, 100));
                squares += (s.result - s.expected) * (s.result - s.expected);
                exact += s.variance;
            }
            EXPECT_NEAR(squares / exact, 1.0, 0.08)
                << nameOf(zero) << (threePairs ? " three pairs" : " one pair");
        }
    }
}

} // namespace
