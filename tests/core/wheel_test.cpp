#include "core/wheel.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using cr::Pair;

struct NumberCase {
    int number;
    int colour;
    int rs, mp, gu; // sides 1 or 2
};

// The numbers where the colour sequence or a side boundary is easy to get wrong.
TEST(Wheel, ColourAndSidesOfBoundaryNumbers) {
    const NumberCase cases[] = {
        {1, cr::kRed, 1, 1, 2},    {2, cr::kBlack, 2, 1, 1},  {10, cr::kBlack, 2, 1, 1},
        {11, cr::kBlack, 2, 1, 2}, {18, cr::kRed, 1, 1, 1},   {19, cr::kRed, 1, 2, 2},
        {28, cr::kBlack, 2, 2, 1}, {29, cr::kBlack, 2, 2, 2}, {35, cr::kBlack, 2, 2, 2},
        {36, cr::kRed, 1, 2, 1},
    };
    const cr::ColourTable farbe = cr::makeColourTable();
    for (const NumberCase& c : cases) {
        SCOPED_TRACE("number " + std::to_string(c.number));
        EXPECT_EQ(farbe[c.number], c.colour);
        EXPECT_EQ(cr::sideOf(Pair::RS, c.number, farbe), c.rs);
        EXPECT_EQ(cr::sideOf(Pair::MP, c.number, farbe), c.mp);
        EXPECT_EQ(cr::sideOf(Pair::GU, c.number, farbe), c.gu);
    }
}

TEST(Wheel, EighteenNumbersOnEachSideOfEveryPairAndNoColourForZero) {
    const cr::ColourTable farbe = cr::makeColourTable();
    EXPECT_EQ(farbe[0], cr::kNoColour);
    EXPECT_EQ(farbe[37], cr::kNoColour);
    for (Pair pair : {Pair::RS, Pair::MP, Pair::GU}) {
        SCOPED_TRACE("pair " + std::to_string(static_cast<int>(pair)));
        int sides[3] = {0, 0, 0};
        for (int n = 1; n <= 36; ++n) {
            const int side = cr::sideOf(pair, n, farbe);
            ASSERT_TRUE(side == 1 || side == 2) << n;
            ++sides[side];
        }
        EXPECT_EQ(sides[1], 18);
        EXPECT_EQ(sides[2], 18);
    }
}

} // namespace
