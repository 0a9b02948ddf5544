// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace cr {

// The largest step rate the step-rate box takes: twice it still fits the
// 16-bit counters the engine packs a position into.
inline constexpr int kMaxSteprate = 16383;

// The spins box takes 0 < n < 10000.
inline constexpr double kSpinsLimit = 10000;

} // namespace cr
