// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/steptable.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using cr::StepResult;

StepResult stepOf(int step, double statistisch, std::array<int, 3> leer,
                  std::array<int, 3> einmal) {
    StepResult r;
    r.step = step;
    r.statistisch = statistisch;
    r.leer = leer;
    r.einmal = einmal;
    return r;
}

// Titles, step numbers, the statistic as the label shows it, the counters and
// the exact mean, every line ended by CR LF.
TEST(StepTable, LaysOutTitlesStepNumbersCountersAndTheExactMean) {
    // Three steps at step rate 37; the mean is 74 (18/37)^k.
    const std::vector<StepResult> threeSteps = {
        stepOf(1, 37, {36, 38, 35}, {38, 36, 39}),
        stepOf(2, 18.5, {17, 20, 16}, {19, 18, 21}),
        stepOf(3, 9, {8, 11, 9}, {10, 8, 12}),
    };
    EXPECT_EQ(cr::stepTableText(threeSteps, 37, ","), "Step \t1\t2\t3\r\n"
                                                      "Statistisch \t37\t18,5\t9\r\n"
                                                      "leer   RS \t36\t17\t8\r\n"
                                                      "leer   MP \t38\t20\t11\r\n"
                                                      "leer   GU \t35\t16\t9\r\n"
                                                      "1xrot    RS \t38\t19\t10\r\n"
                                                      "1xrot    MP \t36\t18\t8\r\n"
                                                      "1xrot    GU \t39\t21\t12\r\n"
                                                      "Erwartungswert \t36,00\t17,51\t8,52\r\n");
    // Step 17 at step rate 1: below one, with a decimal point.
    EXPECT_EQ(cr::stepTableText({stepOf(17, 0.5, {0, 1, 0}, {0, 0, 1})}, 1, "."),
              "Step \t17\r\n"
              "Statistisch \t0.5\r\n"
              "leer   RS \t0\r\n"
              "leer   MP \t1\r\n"
              "leer   GU \t0\r\n"
              "1xrot    RS \t0\r\n"
              "1xrot    MP \t0\r\n"
              "1xrot    GU \t1\r\n"
              "Erwartungswert \t0.00\r\n");
}

} // namespace
