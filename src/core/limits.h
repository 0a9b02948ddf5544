// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace cr {

// The largest step rate the step-rate box takes: twice it still fits the
// 16-bit counters the engine packs a position into.
inline constexpr int kMaxSteprate = 16383;

// The spins box takes 0 < n < 10000.
inline constexpr double kSpinsLimit = 10000;
// The spins a live run takes at most: as many as the spins box allows.
inline constexpr int kLiveTotal = static_cast<int>(kSpinsLimit) - 1;

// The money a system test takes (unit, table limit, capital), and the most
// wins in a row a paroli plays before going back to the unit.
inline constexpr long long kMostMoney = 1'000'000'000'000;
inline constexpr int kMostParoliWins = 64;

} // namespace cr
