// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wheel.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using cr::Pair;

// A number as the board shows it: Rot or Schwarz, Manque or Passe, Gerade or
// Ungerade.
struct NumberCase {
    int number;
    char rs, mp, gu;
};

// Every number 0..36: its colour and its side in each of the three pairs
// (side 1 is Rot, Manque, Gerade; side 2 Schwarz, Passe, Ungerade).
TEST(Wheel, ColourAndSidesOfEveryNumber) {
    const NumberCase board[] = {
        {1, 'R', 'M', 'U'},  {2, 'S', 'M', 'G'},  {3, 'R', 'M', 'U'},  {4, 'S', 'M', 'G'},
        {5, 'R', 'M', 'U'},  {6, 'S', 'M', 'G'},  {7, 'R', 'M', 'U'},  {8, 'S', 'M', 'G'},
        {9, 'R', 'M', 'U'},  {10, 'S', 'M', 'G'}, {11, 'S', 'M', 'U'}, {12, 'R', 'M', 'G'},
        {13, 'S', 'M', 'U'}, {14, 'R', 'M', 'G'}, {15, 'S', 'M', 'U'}, {16, 'R', 'M', 'G'},
        {17, 'S', 'M', 'U'}, {18, 'R', 'M', 'G'}, {19, 'R', 'P', 'U'}, {20, 'S', 'P', 'G'},
        {21, 'R', 'P', 'U'}, {22, 'S', 'P', 'G'}, {23, 'R', 'P', 'U'}, {24, 'S', 'P', 'G'},
        {25, 'R', 'P', 'U'}, {26, 'S', 'P', 'G'}, {27, 'R', 'P', 'U'}, {28, 'S', 'P', 'G'},
        {29, 'S', 'P', 'U'}, {30, 'R', 'P', 'G'}, {31, 'S', 'P', 'U'}, {32, 'R', 'P', 'G'},
        {33, 'S', 'P', 'U'}, {34, 'R', 'P', 'G'}, {35, 'S', 'P', 'U'}, {36, 'R', 'P', 'G'},
    };
    const cr::ColourTable farbe = cr::makeColourTable();
    for (const NumberCase& c : board) {
        SCOPED_TRACE("number " + std::to_string(c.number));
        EXPECT_EQ(farbe[c.number], c.rs == 'R' ? cr::kRed : cr::kBlack);
        EXPECT_EQ(cr::sideOf(Pair::RS, c.number, farbe), c.rs == 'R' ? 1 : 2);
        EXPECT_EQ(cr::sideOf(Pair::MP, c.number, farbe), c.mp == 'M' ? 1 : 2);
        EXPECT_EQ(cr::sideOf(Pair::GU, c.number, farbe), c.gu == 'G' ? 1 : 2);
    }
    // The zero belongs to no pair, and the spare index 37 has no colour either.
    EXPECT_EQ(farbe[0], cr::kNoColour);
    EXPECT_EQ(farbe[37], cr::kNoColour);
}

} // namespace
