// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/wheel.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// "Systemtest": what betting on the even chances by a rule would have done,
// session by session. One implementation for the window and the tool.
namespace cr::analysis {

// Which side to bet before each spin.
enum class Marsch { Rot, Schwarz, Manque, Passe, Gerade, Ungerade, Leer, Folge, Gegen, Letzter };
enum class Progression { Flat, Martingale, Paroli, Dalembert };
enum class ZeroRule { Partage, Prison, Verloren };

struct SystemRules {
    Marsch marsch = Marsch::Leer;
    // The pairs the Marsch plays (R/S, M/P, G/U); the six fixed chances play
    // their own pair only.
    std::array<bool, kPairCount> pairs{true, true, true};
    Progression progression = Progression::Flat;
    long long unit = 1;
    long long limit = 1000; // the table limit, at least the unit
    long long capital = 0;  // 0: unlimited
    ZeroRule zero = ZeroRule::Partage;
    int paroliWins = 3;
    int steprate = 1;
};

// The words the tool and the window take for the rules, and their names back.
std::optional<Marsch> marschNamed(std::string_view name);
std::optional<Progression> progressionNamed(std::string_view name);
std::optional<ZeroRule> zeroRuleNamed(std::string_view name);
// "rs,mp,gu" in any order and choice, each at most once.
std::optional<std::array<bool, kPairCount>> pairsNamed(std::string_view list);
std::string_view nameOf(Marsch marsch);
std::string_view nameOf(Progression progression);
std::string_view nameOf(ZeroRule zero);
std::string_view pairName(int pair);           // rs, mp, gu
std::string_view sideName(int pair, int side); // rot, schwarz, ... (side 1 or 2)

// The house edge of one unit staked under the zero rule: 1/74, 19/1369, 1/37.
double houseEdge(ZeroRule zero);

// One bet of a session, as the bet log lists it. For a prison stake locked
// by a zero, the spin that settles it adds a line of its own with stake 0.
struct Bet {
    int spin = 0; // 1-based in the session
    int number = 0;
    int pair = 0; // 0..2
    int side = 0; // 1 or 2
    double stake = 0;
    double paidBack = 0; // twice the stake for a win, half for partage, 0 for a loss
    double balance = 0;  // after the spin
};

// What a window draws of one session: per spin played, the balance after
// it, the expected result and the variance so far, the new stakes on it.
struct SessionTrace {
    std::vector<double> balance;
    std::vector<double> expected;
    std::vector<double> variance;
    std::vector<double> stakes;
    std::vector<Bet> bets;
};

struct SessionResult {
    long long spins = 0; // played (fewer than given when ruined)
    long long bets = 0;
    double turnover = 0;
    double result = 0;
    double expected = 0;
    double variance = 0; // of the result, given the stakes placed
    double maxDrawdown = 0;
    double maxStake = 0;
    bool ruined = false;
    // Whether every stake was the unit and fixed in advance (a fixed chance,
    // flat, never ruined, no prison): then the exact law is cheap.
    bool fixedStakes = false;
};

// One session over the numbers 0..36, beginning as after "Reset". The trace,
// when given, gets every spin played and every bet.
SessionResult playSession(const SystemRules& rules, const std::uint8_t* numbers, std::size_t count,
                          SessionTrace* trace = nullptr);
inline SessionResult playSession(const SystemRules& rules, const std::vector<std::uint8_t>& numbers,
                                 SessionTrace* trace = nullptr) {
    return playSession(rules, numbers.data(), numbers.size(), trace);
}

// The figures of many sessions together.
struct SystemTotals {
    long long sessions = 0;
    long long bets = 0;
    double turnover = 0;
    double result = 0;
    double expected = 0;
    double variance = 0; // of the total result
    long long won = 0;   // sessions that ended above their start
    long long ruined = 0;
    double maxDrawdown = 0;
    double maxStake = 0;
    long long reached = 0; // sessions with a result of at least the one asked about

    void add(const SessionResult& session);
    void merge(const SystemTotals& other);
    double sd() const;
    // (result - expected) / sd; none without a bet.
    std::optional<double> z() const;
};

// Consecutive sessions of runLength numbers; a remainder shorter is left out.
SystemTotals systemOfRuns(const SystemRules& rules, const std::vector<std::uint8_t>& numbers,
                          long long runLength, std::atomic<long long>* spinsDone = nullptr,
                          const std::atomic<bool>* stop = nullptr);

// `runs` sessions of runLength spins drawn as simulate() draws its runs for
// the same seed; the totals are the same for any thread count. With atLeast,
// `reached` counts the sessions whose result is at least that.
SystemTotals simulateSystem(const SystemRules& rules, long long runLength, long long runs,
                            std::uint64_t seed, int threads, std::atomic<long long>* done = nullptr,
                            const std::atomic<bool>* stop = nullptr,
                            std::optional<double> atLeast = std::nullopt);

} // namespace cr::analysis
