// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analysisform.h"

#include <algorithm>
#include <random>

namespace cr::analysis {

int defaultRunLength(int steprate) {
    return std::min(kDefaultStepsPerRun * steprate, kMaxRunLength);
}

int offeredSteprate(int boxSteprate, int runSteprate) {
    if (boxSteprate >= 1) {
        return boxSteprate;
    }
    return runSteprate >= 1 ? runSteprate : kDefaultSteprate;
}

std::uint64_t freshSeed() {
    return std::random_device{}();
}

} // namespace cr::analysis
