// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace cr {

// The exact law of the counters. For one field the chance to be still empty
// after k steps is (18/37)^k, and "hit in step 1 and never since" has the
// same chance; the two fields of a position exclude each other, so per pair
// both counters are Binomial(n, q) with q = 2 (18/37)^k for n positions.
double fieldChance(int k);          // (18/37)^k
double expectedCount(int n, int k); // n q
double expectedSigma(int n, int k); // sqrt(n q (1 - q))

} // namespace cr
