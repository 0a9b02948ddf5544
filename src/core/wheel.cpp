// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/wheel.h"

namespace cr {

ColourTable makeColourTable() {
    constexpr std::array<int, 18> reds{1,  3,  5,  7,  9,  12, 14, 16, 18,
                                       19, 21, 23, 25, 27, 30, 32, 34, 36};
    ColourTable farbe{};
    for (int n = 1; n <= 36; ++n) {
        farbe[n] = kBlack;
    }
    for (int n : reds) {
        farbe[n] = kRed;
    }
    return farbe;
}

int sideOf(Pair pair, int number, const ColourTable& farbe) {
    switch (pair) {
    case Pair::RS:
        return farbe[number] == kRed ? 1 : 2;
    case Pair::MP:
        return number < 19 ? 1 : 2;
    case Pair::GU:
        return 2 * (number / 2) == number ? 1 : 2;
    }
    return 0;
}

} // namespace cr
