// SPDX-License-Identifier: GPL-3.0-or-later
#include "analyse.h"
#include "analysis/runs.h"
#include "analysis/sources.h"
#include "core/expectation.h"
#include "io/temp_dir.h"
#include "options.h"
#include "output.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace cr::analysis;
using namespace cr::batch;

template <typename Case> std::string caseName(const testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

TEST(Expectation, ExactMeanAndSpreadOfTheCounters) {
    EXPECT_EQ(cr::expectedCount(37, 1), 36.0);
    EXPECT_DOUBLE_EQ(cr::expectedCount(37, 2), 648.0 / 37.0);
    EXPECT_NEAR(cr::expectedSigma(37, 1), std::sqrt(36.0 / 37.0), 1e-12);
    EXPECT_DOUBLE_EQ(cr::expectedCount(1, 3), 2 * std::pow(18.0 / 37.0, 3));
}

struct ArgumentCase {
    std::string name;
    std::vector<std::string> args;
    std::string error; // a part of the message
};

class BadArguments : public testing::TestWithParam<ArgumentCase> {};

TEST_P(BadArguments, GiveOneLineAndStatus2) {
    const ArgumentCase& c = GetParam();
    EXPECT_NE(parseArguments(c.args).error.find(c.error), std::string::npos)
        << parseArguments(c.args).error;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runAnalysis(c.args, out, err, false), kBadArguments);
    EXPECT_EQ(out.str(), "");
    const std::string message = err.str();
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Parse, BadArguments,
    testing::Values(
        ArgumentCase{"NoArguments", {}, "--steprate is missing"},
        ArgumentCase{"NoFile", {"--steprate", "37"}, "no permanence file"},
        ArgumentCase{"StepRateZero", {"--steprate", "0", "f"}, "from 1 to 16383, not \"0\""},
        ArgumentCase{"StepRateTooLarge", {"--steprate=16384", "f"}, "from 1 to 16383"},
        ArgumentCase{"StepRateNotWhole", {"--steprate", "3.5", "f"}, "not \"3.5\""},
        ArgumentCase{"ValueMissing", {"f", "--steprate"}, "--steprate needs a value"},
        ArgumentCase{"Unknown", {"--steprate", "2", "--fast", "f"}, "unknown option \"--fast\""},
        ArgumentCase{"Twice", {"--steprate", "2", "--steprate", "3", "f"}, "given twice"},
        ArgumentCase{"FlagWithValue", {"--steprate", "2", "--json=1", "f"}, "takes no value"},
        ArgumentCase{
            "SimulateWithoutSpins", {"--steprate", "2", "--simulate", "5"}, "needs --spins"},
        ArgumentCase{"SimulateWithFile",
                     {"--steprate", "2", "--simulate", "5", "--spins", "9", "f"},
                     "reads no files"},
        ArgumentCase{"SimulateAndRunsOf",
                     {"--simulate", "5", "--runs-of", "9", "--spins", "9", "--steprate", "2"},
                     "exclude each other"},
        ArgumentCase{"SeedWithoutSimulation",
                     {"--steprate", "2", "--seed", "1", "f"},
                     "only applies to --simulate"},
        ArgumentCase{"PoolWithoutRuns", {"--steprate", "2", "--pool", "f"}, "only applies"},
        ArgumentCase{"RunShorterThanAStep",
                     {"--steprate", "37", "--runs-of", "36", "f"},
                     "shorter than one step"},
        ArgumentCase{"NoThreads", {"--steprate", "2", "--threads", "0", "f"}, "from 1 to 256"},
        ArgumentCase{"SeedTooLarge",
                     {"--steprate", "2", "--simulate", "1", "--spins", "2", "--seed",
                      "18446744073709551616"},
                     "from 0 to 18446744073709551615"},
        ArgumentCase{"SeedNotANumber",
                     {"--steprate", "2", "--simulate", "1", "--spins", "2", "--seed", "abc-999"},
                     "--seed: the seed \"abc-999\" is no whole number"}),
    caseName<ArgumentCase>);

TEST(Arguments, ModesAndFiles) {
    const auto runs = parseArguments({"--steprate=37", "--runs-of", "370", "a", "--", "--b"});
    ASSERT_TRUE(runs.options) << runs.error;
    EXPECT_EQ(runs.options->mode, Mode::RunsOf);
    EXPECT_EQ(runs.options->runLength, 370);
    EXPECT_EQ(runs.options->files, (std::vector<std::string>{"a", "--b"}));

    const auto sim = parseArguments(
        {"--simulate", "100000", "--spins", "370", "--steprate", "37", "--seed", "0"});
    ASSERT_TRUE(sim.options) << sim.error;
    EXPECT_EQ(sim.options->mode, Mode::Simulate);
    EXPECT_EQ(sim.options->runs, 100000);
    EXPECT_EQ(sim.options->runLength, 370);
    EXPECT_EQ(sim.options->seed, 0u);
}

// Stopping: set before the start, nothing is drawn; set from another thread
// while a simulation far too long to finish runs, it ends early on any number
// of threads (a simulation that did not stop would run for hours).
TEST(Simulate, StopsWhenTold) {
    for (const int threads : {1, 2}) {
        std::atomic<bool> stop{true};
        std::atomic<long long> done{0};
        const RunStatistics none = simulate(37, 370, 1000, 7, threads, &done, &stop);
        EXPECT_EQ(none.runs(), 0);
        EXPECT_EQ(done.load(), 0);

        stop = false;
        const long long runs = 1'000'000'000;
        std::thread stopper([&] {
            while (done.load() < 1000) {
                std::this_thread::yield();
            }
            stop = true;
        });
        const RunStatistics some = simulate(37, 370, runs, 7, threads, &done, &stop);
        stopper.join();
        EXPECT_GE(some.runs(), 1000);
        EXPECT_LT(some.runs(), runs);
        EXPECT_EQ(some.runs(), done.load());
    }
    // One run far too long to finish stops inside the run, and counts as none.
    std::atomic<bool> stop{false};
    std::atomic<long long> done{0};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stop = true;
    });
    const RunStatistics cut = simulate(16383, 10'000'000'000LL, 1, 7, 1, &done, &stop);
    stopper.join();
    EXPECT_EQ(cut.runs(), 0);
}

TEST(Simulate, SameSeedSameSumsWhateverTheThreads) {
    const RunStatistics one = simulate(37, 370, 1000, 7, 1);
    ASSERT_EQ(one.runs(), 1000);
    ASSERT_EQ(one.steps().size(), 10u);
    for (const int threads : {2, 3, 8}) {
        const RunStatistics many = simulate(37, 370, 1000, 7, threads);
        ASSERT_EQ(many.runs(), one.runs());
        for (std::size_t k = 0; k < one.steps().size(); ++k) {
            EXPECT_EQ(many.steps()[k].sum, one.steps()[k].sum) << threads << " threads";
            EXPECT_EQ(many.steps()[k].squares, one.steps()[k].squares) << threads << " threads";
        }
    }
    const RunStatistics other = simulate(37, 370, 1000, 8, 2);
    EXPECT_NE(other.steps()[1].sum, one.steps()[1].sum);
    // Neighbouring seeds share no run: seed 8 is no shifted seed 7.
    std::set<std::uint64_t> seen;
    for (const std::uint64_t seed : {7, 8}) {
        for (long long run = 0; run < 1000; ++run) {
            EXPECT_TRUE(seen.insert(runSeed(seed, run)).second) << seed << ", run " << run;
        }
    }
}

// The drawn numbers follow the law of the counters: within four standard
// errors of the exact mean at every step.
TEST(Simulate, MeansFollowTheExactLaw) {
    constexpr long long kRuns = 20000;
    const RunStatistics stats = simulate(37, 370, kRuns, 1, 2);
    for (std::size_t k = 0; k < 5; ++k) {
        const int step = static_cast<int>(k) + 1;
        const double error = cr::expectedSigma(37, step) / std::sqrt(double(kRuns));
        for (std::size_t c = 0; c < kCounters; ++c) {
            EXPECT_NEAR(stats.mean(k, c), cr::expectedCount(37, step), 4 * error)
                << "step " << step << " counter " << c;
        }
    }
}

// The spread of the simulated counters is the exact sigma, on one thread and
// with the sums of several threads merged: within five standard errors of a
// sample SD, sigma sqrt(2 + excess kurtosis) / (2 sqrt(runs)), with the
// binomial's excess kurtosis (1 - 6 q (1 - q)) / (n q (1 - q)). A merge that
// lost, kept only one thread's or doubled the sums of squares is far off.
TEST(Simulate, StandardDeviationsFollowTheExactSigmaWhateverTheThreads) {
    constexpr long long kRuns = 10000;
    constexpr int kSteprate = 37;
    for (const int threads : {1, 3}) {
        const RunStatistics stats = simulate(kSteprate, 370, kRuns, 3, threads);
        for (std::size_t k = 0; k < 6; ++k) {
            const int step = static_cast<int>(k) + 1;
            const double q = 2 * cr::fieldChance(step);
            const double sigma = cr::expectedSigma(kSteprate, step);
            const double excess = (1 - 6 * q * (1 - q)) / (kSteprate * q * (1 - q));
            const double error = sigma * std::sqrt(2 + excess) / (2 * std::sqrt(double(kRuns)));
            for (std::size_t c = 0; c < kCounters; ++c) {
                EXPECT_NEAR(stats.sd(k, c), sigma, 5 * error)
                    << threads << " threads, step " << step << " counter " << c;
            }
        }
    }
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A bad file among good ones: one line for it on stderr, the others analysed,
// status 1. Steprate 1, runs of two spins over 1 3 | 1 2 | 5 (the 5 makes no
// whole run). After 1 then 3 every pair has the same side twice: its once-hit
// field goes out, the other stays empty. After 1 then 2, R/S and G/U change
// side: the empty field goes out, the once-hit one stays.
TEST(Tool, RefusedFileAmongGoodOnes) {
    const cr::testing::TempDir dir;
    const std::string good = dir.write("gut.csv", "1,3\r\n1,2\r\n5\r\n");
    const std::string bad = dir.write("schlecht.csv", "1,3\r\n1,x\r\n");
    std::ostringstream out;
    std::ostringstream err;
    const int status = runAnalysis({"--steprate", "1", "--runs-of", "2", "--json", good, bad, good},
                                   out, err, false);
    EXPECT_EQ(status, kFileFailed);
    EXPECT_EQ(err.str(), "chancenraster-analyse: " + bad +
                             ": spin 4 reads \"x\", which is not a number (a file without a "
                             "\"Spielbank\" header must hold numbers only)\n");
    // [mean, sd, deviation in standard errors] of a counter over the two runs.
    const auto counter = [](double mean, double sd, int step) {
        const double z =
            (mean - cr::expectedCount(1, step)) / (cr::expectedSigma(1, step) / std::sqrt(2.0));
        std::string text = shortest(mean);
        text.insert(0, 1, '[');
        text.append(",").append(shortest(sd)).append(",").append(shortest(z)).append("]");
        return text;
    };
    const std::string once1 = counter(1, 0, 1);
    const std::string half2 = counter(0.5, 0.5, 2);
    // With one position the share of runs with an empty field is the counter's
    // mean, and its exact value the expected count.
    const std::string step1 =
        "{\"step\":1,\"statistisch\":1,\"expected\":" + shortest(cr::expectedCount(1, 1)) +
        ",\"sigma\":" + shortest(cr::expectedSigma(1, 1)) + ",\"leer\":[" + once1 + "," + once1 +
        "," + once1 + "],\"einmal\":[" + once1 + "," + once1 + "," + once1 +
        "],\"empty_share\":[1,1,1],\"empty_share_exact\":" + shortest(cr::expectedCount(1, 1)) +
        "}";
    const std::string step2 =
        "{\"step\":2,\"statistisch\":0.5,\"expected\":" + shortest(cr::expectedCount(1, 2)) +
        ",\"sigma\":" + shortest(cr::expectedSigma(1, 2)) + ",\"leer\":[" + half2 + "," +
        counter(1, 0, 2) + "," + half2 + "],\"einmal\":[" + half2 + "," + counter(0, 0, 2) + "," +
        half2 +
        "],\"empty_share\":[0.5,1,0.5],\"empty_share_exact\":" + shortest(cr::expectedCount(1, 2)) +
        "}";
    const std::string table = "{\"file\":" + jsonString(good) +
                              ",\"steprate\":1,\"spins\":2,\"runs\":2,\"steps\":[" + step1 + "," +
                              step2 + "]}";
    EXPECT_EQ(linesOf(out.str()), (std::vector<std::string>{table, table}));
}

TEST(Tool, ReplayTableAsTextAndJson) {
    const cr::testing::TempDir dir;
    const std::string file = dir.write("kurz.csv", "1,3,1,2,5");
    std::ostringstream text;
    std::ostringstream json;
    std::ostringstream err;
    EXPECT_EQ(runAnalysis({"--steprate", "2", "--spins", "4", file}, text, err, false), kDone);
    EXPECT_EQ(runAnalysis({"--json", "--steprate=2", "--spins=4", file}, json, err, false), kDone);
    EXPECT_EQ(err.str(), "");
    // Step 1 (1 3): every pair hit once at both positions. Step 2 (1 2): the 1
    // again puts its once-hit fields out; the 2 puts out R/S and G/U's empty
    // fields, but M/P's once-hit one (3 and 2 are both Manque).
    const std::string expected2 = fixed(cr::expectedCount(2, 2), 6);
    EXPECT_EQ(linesOf(text.str()),
              (std::vector<std::string>{
                  "file\tstep\tstatistisch\texpected\tleer_rs\tleer_mp\tleer_gu\teinmal_rs\t"
                  "einmal_mp\teinmal_gu",
                  file + "\t1\t2\t" + fixed(cr::expectedCount(2, 1), 6) + "\t2\t2\t2\t2\t2\t2",
                  file + "\t2\t1\t" + expected2 + "\t1\t2\t1\t1\t0\t1"}));
    EXPECT_EQ(json.str(), "{\"file\":" + jsonString(file) +
                              ",\"steprate\":2,\"spins\":4,\"steps\":[{\"step\":1,\"statistisch\":"
                              "2,\"expected\":" +
                              shortest(cr::expectedCount(2, 1)) +
                              ",\"leer\":[2,2,2],\"einmal\":[2,2,2]},{\"step\":2,\"statistisch\":"
                              "1,\"expected\":" +
                              shortest(cr::expectedCount(2, 2)) +
                              ",\"leer\":[1,2,1],\"einmal\":[1,0,1]}]}\n");
}

// Names and fields from files reach the terminal, a JSON line or a column
// only escaped: no control byte, no broken UTF-8, no extra tab or line.
TEST(Output, EscapesWhatCameFromFiles) {
    struct Case {
        std::string raw;
        std::string terminal; // escaped()
        std::string json;     // jsonString()
    };
    const Case cases[] = {
        {"plain ü €.txt", "plain ü €.txt", "\"plain ü €.txt\""},
        {"a\tb\nc\rd", "a\\tb\\nc\\rd", "\"a\\u0009b\\u000ac\\u000dd\""},
        {"\x1b]0;title\x07\x1b[2J", "\\x1b]0;title\\x07\\x1b[2J",
         "\"\\u001b]0;title\\u0007\\u001b[2J\""},
        {std::string("nul\0x", 5), "nul\\x00x", "\"nul\\u0000x\""},
        {"b\xe4"
         "d",
         "b\\xe4d", "\"b\\\\xe4d\""},
        {"\xc3", "\\xc3", "\"\\\\xc3\""},                                 // cut inside a character
        {"\xc0\xaf", "\\xc0\\xaf", "\"\\\\xc0\\\\xaf\""},                 // an over-long form
        {"\xed\xa0\x80", "\\xed\\xa0\\x80", "\"\\\\xed\\\\xa0\\\\x80\""}, // a surrogate
        {"back\\slash \"q\" \x7f", "back\\\\slash \"q\" \\x7f",
         "\"back\\\\slash \\\"q\\\" \\u007f\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(escaped(c.raw), c.terminal) << c.terminal;
        EXPECT_EQ(jsonString(c.raw), c.json) << c.terminal;
    }
}

// A hostile file name and a hostile field in one run: stderr gets no raw
// control byte, the table one line per step with its name escaped.
TEST(Tool, HostileNamesAndFieldsAreEscaped) {
    const cr::testing::TempDir dir;
    const std::string name = dir.path() + "/a\tb\x1b[2J\xe4.csv";
    { std::ofstream(name, std::ios::binary) << "1,3\r\n"; }
    const std::string bad = dir.write("bin.csv", std::string("1,\x1b]0:x\x07\0,2", 10));
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runAnalysis({"--steprate", "1", name, bad}, out, err, false), kFileFailed);
    const auto rawControls = [](const std::string& text) {
        return std::count_if(text.begin(), text.end(), [](char c) {
            return c != '\n' && c != '\t' && static_cast<unsigned char>(c) < 0x20;
        });
    };
    const std::string table = out.str();
    const std::string message = err.str();
    EXPECT_EQ(rawControls(table), 0) << table;
    EXPECT_EQ(rawControls(message), 0) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\t'), 0) << message;
    EXPECT_NE(err.str().find("spin 2 reads \"<1B>]0:x<07><00>\""), std::string::npos) << err.str();
    const std::vector<std::string> lines = linesOf(out.str());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].substr(0, escaped(name).size() + 1), escaped(name) + "\t");
    EXPECT_EQ(std::count(lines[1].begin(), lines[1].end(), '\t'), 9);
}

// Output that cannot be written is a failure, --help included.
TEST(Tool, FailedWriteOfAnyOutputIsStatus1) {
    const cr::testing::TempDir dir;
    const std::string file = dir.write("kurz.csv", "1,3,1,2,5");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"},
          {"--steprate", "1", file},
          {"--steprate", "1", "--json", file},
          {"--steprate", "1", "--simulate", "3", "--spins", "4"}}) {
        std::ostringstream out;
        out.setstate(std::ios::badbit); // as a full disk leaves the stream
        std::ostringstream err;
        EXPECT_EQ(runAnalysis(args, out, err, false), kFileFailed) << args.front();
        EXPECT_NE(err.str().find("could not be written"), std::string::npos);
    }
}

// A byte order mark in front, as editors on Windows write it, changes
// nothing in either layout; a mark alone is an empty file.
TEST(Tool, ByteOrderMarkInFrontChangesNothing) {
    const cr::testing::TempDir dir;
    const auto table = [&dir](const std::string& bytes) {
        const std::string file = dir.write("liste.csv", bytes);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runAnalysis({"--steprate", "2", file}, out, err, false), kDone) << err.str();
        return out.str();
    };
    for (const std::string bytes :
         {"1,3,1,2,5", "Spielbank Wiesbaden\r\nTisch 1\r\n24.04.2019\r\nCoup\r\n1\r\n3\r\n"}) {
        EXPECT_EQ(table("\xEF\xBB\xBF" + bytes), table(bytes));
    }
    const std::string mark = dir.write("marke.csv", "\xEF\xBB\xBF");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runAnalysis({"--steprate", "1", mark}, out, err, false), kFileFailed);
    EXPECT_EQ(err.str(), "chancenraster-analyse: " + mark + ": the file is empty\n");
}

} // namespace
