// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation the window runs: files and simulations through runJob, and
// the rows it shows.
#include "analysis/entries.h"
#include "analysis/job.h"
#include "analysis/oddruns.h"
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

    // Each table's own runs, summed: the pool holds both, once each, and
    // each table keeps its own beside the pool, under its file's name.
    const RunStatistics one = runsOf(firstNumbers, 4, 45);
    const RunStatistics two = runsOf(secondNumbers, 4, 45);
    ASSERT_EQ(result.stats.steps().size(), one.steps().size());
    ASSERT_EQ(result.sources.size(), 2u);
    EXPECT_EQ(result.sources[0].name, input.files[0]);
    EXPECT_EQ(result.sources[1].name, input.files[2]);
    ASSERT_EQ(result.read.size(), 2u); // kept to look for single runs
    EXPECT_EQ(result.read[1].numbers, secondNumbers);
    EXPECT_EQ(result.read[1].file, input.files[2]);
    for (std::size_t k = 0; k < one.steps().size(); ++k) {
        for (std::size_t c = 0; c < kCounters; ++c) {
            EXPECT_EQ(result.stats.steps()[k].sum[c],
                      one.steps()[k].sum[c] + two.steps()[k].sum[c]);
            EXPECT_EQ(result.sources[0].stats.steps()[k].sum[c], one.steps()[k].sum[c]);
            EXPECT_EQ(result.sources[1].stats.steps()[k].sum[c], two.steps()[k].sum[c]);
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

namespace entries {

// A seed is digits only: a sign, letters or a number past 2^64 − 1 are no
// seed at all, never a silent 0.
TEST(Entries, SeedIsDigitsOnly) {
    EXPECT_EQ(parseSeed("0"), 0u);
    EXPECT_EQ(parseSeed("  42\t"), 42u);
    EXPECT_EQ(parseSeed("18446744073709551615"), 18446744073709551615u);
    for (const char* bad :
         {"", " ", "abc-999", "-1", "+5", "12a", "1 2", "0x10", "3.5", "18446744073709551616"}) {
        EXPECT_FALSE(parseSeed(bad)) << bad;
    }
    EXPECT_EQ(seedRefusal("abc-999", cr::Language::German),
              "Der Seed \u201eabc-999\u201c ist keine ganze Zahl von 0 bis "
              "18.446.744.073.709.551.615 (nur Ziffern).");
}

TEST(Entries, RefusedInTheWindowsWordsAndTheTools) {
    JobInput input;
    input.simulate = true;
    input.runs = 10;
    input.steprate = 37;
    input.runLength = 36;
    EXPECT_EQ(entriesRefusal(input, cr::Language::German),
              "Ein Lauf von 36 Würfen ist kürzer als ein Step von 37 Würfen: Es käme kein Step "
              "zustande.");
    EXPECT_EQ(entriesRefusal(input, cr::Language::English),
              "runs of 36 spins are shorter than one step of 37");
    input.runLength = 37;
    EXPECT_EQ(entriesRefusal(input, cr::Language::German), "");
    input.simulate = false;
    EXPECT_NE(entriesRefusal(input, cr::Language::German).find("keine Quelle"), std::string::npos);
    input.files = {"a.csv"};
    EXPECT_EQ(entriesRefusal(input, cr::Language::German), "");
}

// The cost in words a reader takes in at a glance; the large case is the
// one a user met without a word: 10^7 runs of 10^5 spins.
TEST(Entries, CostLine) {
    JobInput input;
    input.simulate = true;
    input.threads = 2;
    input.steprate = 37;
    input.runs = 10'000'000;
    input.runLength = 100'000;
    const Cost huge = estimateCost(input, 0);
    EXPECT_EQ(huge.spins, 1'000'000'000'000LL);
    EXPECT_TRUE(worthAsking(huge));
    // 10^12 spins at 10 ns, 2.7 · 10^10 step ends at 15 ns, 10^7 runs at
    // 1.5 µs on 2 threads: 5210 s; 2702 steps of 320 + 48 · 37 bytes twice.
    EXPECT_EQ(costLine(huge, 2, cr::Language::German),
              "1,0 Bio. Würfe, etwa 87 min auf 2 Kernen, 11 MB Speicher");
    input.runs = 100'000;
    input.runLength = 370;
    const Cost usual = estimateCost(input, 0);
    EXPECT_FALSE(worthAsking(usual));
    EXPECT_EQ(costLine(usual, 2, cr::Language::English),
              "37 million spins, under 1 s on 2 threads, under 1 MB of memory");
    input.simulate = false;
    input.steprate = 1;
    input.threads = 1;
    // 4,000,000 spins of files in runs of 370: 10,810 runs, 3,999,700 spins.
    const Cost files = estimateCost(input, 4'000'000);
    EXPECT_EQ(files.spins, 3'999'700);
    EXPECT_EQ(costLine(files, 1, cr::Language::German),
              "4,0 Mio. Würfe, unter 1 s auf 1 Kern, 4 MB Speicher");
}

// The system window keeps each session's result for its histogram: many
// short sessions cost memory before they cost time.
TEST(Entries, SystemCost) {
    // 10^6 sessions of 370 spins at 45 ns on 1 thread: 16.65 s, 8 MB of results.
    const Cost usual = estimateSystemCost(1'000'000, 370, 1, true);
    EXPECT_FALSE(worthAsking(usual));
    EXPECT_EQ(costLine(usual, 1, cr::Language::German),
              "370 Mio. Würfe, etwa 17 s auf 1 Kern, 8 MB Speicher");
    // 10^8 such sessions: 1665 s, worth a question.
    EXPECT_TRUE(worthAsking(estimateSystemCost(100'000'000, 370, 1, true)));
    // 2 · 10^8 sessions of 10 spins: 90 s on 2 threads would pass, 1.6 GB of results would not;
    // the tool keeps none.
    EXPECT_TRUE(worthAsking(estimateSystemCost(200'000'000, 10, 2, true)));
    EXPECT_FALSE(worthAsking(estimateSystemCost(200'000'000, 10, 2, false)));
}

} // namespace entries

namespace odd {

// The runs that lie farthest from the exact mean, found by replaying each
// run on its own: two tables of three runs of 8 spins, step rate 2, step 3.
TEST(OddRuns, FarthestFirstWithFileAndFirstSpin) {
    // Step 3 of a run at step rate 2 ends after 6 spins; counter 0 is
    // "Leer R/S", the red or black fields never hit by then.
    const std::vector<std::vector<std::uint8_t>> tables = {
        {1, 2, 1, 2, 1, 2, 0, 0, /**/ 1, 1, 1, 1, 1, 1, 9, 9, /**/ 1, 2, 3, 4, 5, 6, 7, 8},
        {2, 2, 2, 2, 2, 2, 0, 0, /**/ 1, 2, 2, 1, 1, 2, 0, 0}};
    std::vector<Source> sources;
    for (const auto& numbers : tables) {
        sources.push_back({"t", numbers});
    }
    JobInput input;
    input.steprate = 2;
    input.runLength = 8;
    // Run by run, Leer R/S at step 3 (row 1 gets 1, 1, 1 / row 2 gets 2, 2, 2 ...):
    // table 0: run 0 rows (1,1,1) red only, (2,2,2) black only: 2 empty;
    //          run 1 all red: 2 empty; run 2 (1,3,5) red, (2,4,6) black: 2.
    // table 1: run 0 all black: 2; run 1 (1,2,1) both, (2,1,2) both: 0.
    // Exact mean at step 3: 2 · 2 · (18/37)^3 = 0.4606; all 2s lie 1.539 away,
    // the 0 lies 0.4606 away.
    const std::vector<OddRun> odd = oddestRuns(sources, input, 3, 0, 3);
    ASSERT_EQ(odd.size(), 3u);
    const std::pair<std::size_t, long long> expected[] = {{0, 1}, {0, 9}, {0, 17}};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(odd[k].source, expected[k].first) << k;
        EXPECT_EQ(odd[k].firstSpin, expected[k].second) << k;
        EXPECT_EQ(odd[k].value, 2);
        EXPECT_NEAR(odd[k].distance, 2 - 4 * std::pow(18.0 / 37.0, 3), 1e-12);
    }
    const std::vector<OddRun> all = oddestRuns(sources, input, 3, 0, 10);
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all.back().source, 1u);
    EXPECT_EQ(all.back().run, 1);
    EXPECT_EQ(all.back().value, 0);
    // Four of the five runs lie as far as a 2: chance gives 5 · P(X = 2) with
    // X ~ Binomial(2, q), q = 2 (18/37)^3 = 0.23028: 5 · 0.053029 = 0.2651.
    RunStatistics stats;
    stats.keepHistograms(true);
    for (const auto& numbers : tables) {
        stats.merge(runsOf(numbers, 2, 8, nullptr, nullptr, true));
    }
    const FarRuns far = runsAtLeastAsFar(stats, 2, 3, 0, 2);
    EXPECT_EQ(far.seen, 4);
    EXPECT_NEAR(far.expected, 0.2651, 1e-4);
    // A step beyond the run, or no such counter: nothing to show.
    EXPECT_TRUE(oddestRuns(sources, input, 5, 0, 3).empty());
    EXPECT_TRUE(oddestRuns(sources, input, 1, 6, 3).empty());
}

// The simulated run a user replays is the one the simulation counted: its
// runs, drawn again one by one, give the simulation's sums.
TEST(OddRuns, SimulatedRunsAreTheSimulationsOwn) {
    const RunStatistics drawn = simulate(3, 30, 50, 77, 2);
    RunStatistics again;
    for (long long run = 0; run < 50; ++run) {
        again.merge(runsOf(simulatedRun(77, run, 30), 3, 30));
    }
    ASSERT_EQ(again.runs(), 50);
    for (std::size_t k = 0; k < drawn.steps().size(); ++k) {
        EXPECT_EQ(again.steps()[k].sum, drawn.steps()[k].sum) << k;
    }
    JobInput input;
    input.simulate = true;
    input.runs = 50;
    input.seed = 77;
    input.steprate = 3;
    input.runLength = 30;
    const std::vector<OddRun> odd = oddestRuns({}, input, 4, 5, 1);
    ASSERT_EQ(odd.size(), 1u);
    const std::vector<cr::StepResult> steps = replay(simulatedRun(77, odd[0].run, 12), 3);
    EXPECT_EQ(counterOf(steps[3], 5), odd[0].value);
}

} // namespace odd
