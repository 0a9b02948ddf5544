// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation the window runs: files and simulations through runJob, and
// the rows it shows.
#include "analysis/job.h"
#include "analysis/runs.h"
#include "analysis/summary.h"
#include "io/temp_dir.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace cr::analysis;

// Two good tables and two bad ones between them: a refused spin is named
// with the import's three lines, an empty file in a sentence; the runs of
// both good tables are pooled, each once.
TEST(Job, RefusedFilesAmongGoodOnes) {
    const cr::testing::TempDir dir;
    std::string first;
    std::string second;
    std::vector<std::uint8_t> firstNumbers;
    std::vector<std::uint8_t> secondNumbers;
    for (int k = 0; k < 3000; ++k) {
        firstNumbers.push_back(static_cast<std::uint8_t>((k * 7 + k / 37) % 37));
        secondNumbers.push_back(static_cast<std::uint8_t>((k * 11 + 5) % 37));
        first += std::to_string(firstNumbers.back()) + (k % 10 == 9 ? "\r\n" : ",");
        second += std::to_string(secondNumbers.back()) + (k % 12 == 11 ? "\n" : ";");
    }
    JobInput input;
    input.files = {dir.write("a.csv", first), dir.write("schlecht.csv", "1,3\r\n1,37\r\n"),
                   dir.write("b.txt", second), dir.write("leer.csv", "")};
    input.steprate = 4;
    input.runLength = 45;
    JobProgress progress;
    const JobResult result = runJob(input, progress);
    ASSERT_EQ(result.refused.size(), 2u);
    EXPECT_EQ(result.refused[0].file, input.files[1]);
    EXPECT_TRUE(result.refused[0].refused);
    EXPECT_FALSE(result.refused[1].refused);
    EXPECT_EQ(result.refused[1].lines[0], "Sie ist leer.");
    EXPECT_EQ(result.refused[0].lines,
              (std::array<std::string, 3>{" Datei nicht übernommen:", "  Wurf 4 lautet 37,",
                                          "  erlaubt sind 0 bis 36."}));
    EXPECT_EQ(result.stats.runs(), 2 * 66);  // 66 runs of 45 in each table,
    EXPECT_EQ(result.spinsLeftOver, 2 * 30); // and 30 spins left over
    EXPECT_EQ(progress.spinsDone(), progress.spinsTotal());
    EXPECT_FALSE(result.stopped);

    // Each table's own runs, summed: the pool holds both, once each.
    const RunStatistics one = runsOf(firstNumbers, 4, 45);
    const RunStatistics two = runsOf(secondNumbers, 4, 45);
    ASSERT_EQ(result.stats.steps().size(), one.steps().size());
    for (std::size_t k = 0; k < one.steps().size(); ++k) {
        for (std::size_t c = 0; c < kCounters; ++c) {
            EXPECT_EQ(result.stats.steps()[k].sum[c],
                      one.steps()[k].sum[c] + two.steps()[k].sum[c]);
        }
    }
}

// A stop heard while the files are read: neither the file being read nor any
// later one is taken or refused, so a huge file does not hold "Abbrechen" up.
TEST(Job, StopsWhileReadingFiles) {
    const cr::testing::TempDir dir;
    JobInput input;
    input.files = {dir.write("gut.csv", "1,2,3,4,5,6,7,8\n"), dir.write("schlecht.csv", "3,99\n")};
    input.steprate = 2;
    input.runLength = 4;
    JobProgress progress;
    progress.stop = true;
    const JobResult result = runJob(input, progress);
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(result.refused.empty());
    EXPECT_EQ(result.stats.runs(), 0);
}

// The deviation of a mean is measured in standard errors of the exact law.
TEST(Summary, DeviationInStandardErrors) {
    JobInput input;
    input.simulate = true;
    input.runs = 4000;
    input.seed = 9;
    input.steprate = 37;
    input.runLength = 370;
    JobProgress progress;
    const JobResult result = runJob(input, progress);
    const std::vector<SummaryRow> rows = summaryRows(result.stats, 37);
    ASSERT_EQ(rows.size(), 10u);
    for (const SummaryRow& row : rows) {
        for (std::size_t c = 0; c < kCounters; ++c) {
            const double z = (row.mean[c] - row.expected) / (row.sigma / std::sqrt(4000.0));
            EXPECT_DOUBLE_EQ(row.deviation[c], z);
            EXPECT_LT(std::abs(row.deviation[c]), 5) << "step " << row.step << " counter " << c;
        }
    }
    // Runs with an empty field: near the exact share, which falls with the steps.
    for (const SummaryRow& row : rows) {
        const double q = 2 * std::pow(18.0 / 37.0, row.step);
        EXPECT_DOUBLE_EQ(row.emptyShareExact, 1 - std::pow(1 - q, 37));
        const double se = std::sqrt(row.emptyShareExact * (1 - row.emptyShareExact) / 4000.0);
        for (const double share : row.emptyShare) {
            EXPECT_NEAR(share, row.emptyShareExact, 5 * se + 1e-12) << "step " << row.step;
        }
    }
    EXPECT_GT(rows[0].emptyShareExact, rows[9].emptyShareExact);
    EXPECT_TRUE(standsOut(3.01));
    EXPECT_TRUE(standsOut(-3.01));
    EXPECT_FALSE(standsOut(3));
}

} // namespace
