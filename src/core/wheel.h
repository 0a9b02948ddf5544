// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

namespace cr {

// Colours of the colour table: none for the zero (and the spare index 37).
inline constexpr int kNoColour = 0;
inline constexpr int kRed = 1;
inline constexpr int kBlack = 2;

using ColourTable = std::array<int, 38>;

// The colour of every number 0..36, plus the spare index 37.
ColourTable makeColourTable();

// The three pairs, in the order they are listed everywhere.
enum class Pair { RS = 0, MP = 1, GU = 2 };
inline constexpr int kPairCount = 3;

// Side of a number 1..36 within a pair: 1 = Rot/Manque/Gerade,
// 2 = Schwarz/Passe/Ungerade. Callers deal with the zero before asking.
int sideOf(Pair pair, int number, const ColourTable& farbe);

} // namespace cr
