// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/expectation.h"

#include <cmath>

namespace cr {

double fieldChance(int k) {
    return std::pow(18.0 / 37.0, k);
}

double expectedCount(int n, int k) {
    return n * 2.0 * fieldChance(k);
}

double expectedSigma(int n, int k) {
    const double q = 2.0 * fieldChance(k);
    return std::sqrt(n * q * (1.0 - q));
}

} // namespace cr
