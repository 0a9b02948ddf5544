// SPDX-License-Identifier: GPL-3.0-or-later
#include "analyse.h"
#include "analysis/systemlaw.h"
#include "io/temp_dir.h"
#include "options.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace cr::batch;

struct Refusal {
    std::string name;
    std::vector<std::string> args;
    std::string error;
};

class SystemRefusals : public testing::TestWithParam<Refusal> {};

TEST_P(SystemRefusals, NameTheBadValue) {
    const Refusal& c = GetParam();
    std::vector<std::string> args{"--steprate", "2", "f"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ParsedArguments parsed = parseArguments(args);
    EXPECT_FALSE(parsed.options);
    EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    Options, SystemRefusals,
    testing::Values(
        Refusal{"UnknownMarsch", {"--system", "blau", "--progression", "flat"}, "not \"blau\""},
        Refusal{"NoProgression", {"--system", "leer"}, "needs --progression"},
        Refusal{"UnknownProgression", {"--system", "leer", "--progression", "fib"}, "not \"fib\""},
        Refusal{"UnknownZero",
                {"--system", "leer", "--progression", "flat", "--zero", "halb"},
                "partage, prison or verloren, not \"halb\""},
        Refusal{"PairTwice",
                {"--system", "leer", "--progression", "flat", "--pairs", "rs,rs"},
                "not \"rs,rs\""},
        Refusal{
            "PairsEmpty", {"--system", "leer", "--progression", "flat", "--pairs", ""}, "not \"\""},
        Refusal{"PairsOnAFixedChance",
                {"--system", "rot", "--progression", "flat", "--pairs", "rs"},
                "does not apply to --system rot"},
        Refusal{"ParoliWithoutParoli",
                {"--system", "leer", "--progression", "flat", "--paroli", "2"},
                "only applies to --progression paroli"},
        Refusal{"LimitBelowUnit",
                {"--system", "leer", "--progression", "flat", "--unit", "5", "--limit", "4"},
                "below --unit 5"},
        Refusal{"NegativeCapital",
                {"--system", "leer", "--progression", "flat", "--capital", "-1"},
                "from 0 to 1000000000000"},
        Refusal{"UnitWithoutSystem", {"--unit", "2"}, "--unit only applies to --system"},
        Refusal{"LogWithoutName",
                {"--system", "leer", "--progression", "flat", "--log="},
                "needs a file name"},
        Refusal{
            "ZeroGivenTwice",
            {"--system", "leer", "--progression", "flat", "--zero", "prison", "--zero", "prison"},
            "given twice"}),
    [](const testing::TestParamInfo<Refusal>& param) { return param.param.name; });

// 1 2 0 3 on rot, flat, partage: +1 -1 -0.5 +1; the balance runs 1, 0,
// -0.5, 0.5, so it falls 1.5 from its peak.
TEST(SystemTool, TableAndLog) {
    const cr::testing::TempDir dir;
    const std::string file = dir.write("t.csv", "1,2,0,3\n");
    const std::string log = dir.path() + "/log.tsv";
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(runAnalysis({"--system", "rot", "--progression", "flat", "--steprate", "2", file,
                           "--log", log},
                          out, err, false),
              kDone)
        << err.str();
    const std::string header = "file\tsessions\tbets\tturnover\tresult\texpected\tsd\tz\t"
                               "won_share\truined_share\tmax_drawdown\tmax_stake\n";
    // expected -4/74; sd = 2 sqrt(36.25/37 - 1/74^2) = 1.97945
    EXPECT_EQ(out.str(),
              header + file + "\t1\t4\t4\t0.5\t-0.0541\t1.9794\t0.2799\t1.0000\t0.0000\t1.5\t1\n");
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "spin\tnumber\tpair\tside\tstake\treturn\tbalance\n"
                          "1\t1\trs\trot\t1\t2\t1\n"
                          "2\t2\trs\trot\t1\t0\t0\n"
                          "3\t0\trs\trot\t1\t0.5\t-0.5\n"
                          "4\t3\trs\trot\t1\t2\t0.5\n");

    // No bet: z is empty (null in JSON). A log that cannot be written fails.
    std::ostringstream json;
    EXPECT_EQ(runAnalysis({"--system", "leer", "--progression", "flat", "--steprate", "4", file,
                           "--json", "--log", dir.path()},
                          json, err, false),
              kFileFailed);
    EXPECT_NE(json.str().find("\"bets\":0,"), std::string::npos) << json.str();
    EXPECT_NE(json.str().find("\"z\":null,"), std::string::npos) << json.str();
    EXPECT_NE(err.str().find("could not be written"), std::string::npos) << err.str();
}

TEST(SystemTool, SimulationIsTheSameOnAnyThreadCount) {
    const auto run = [](const char* threads) {
        std::ostringstream out;
        std::ostringstream err;
        runAnalysis({"--system", "folge", "--progression", "martingale", "--zero", "prison",
                     "--capital", "50", "--steprate", "5", "--simulate", "3000", "--spins", "50",
                     "--seed", "4", "--threads", threads},
                    out, err, false);
        return out.str();
    };
    const std::string one = run("1");
    EXPECT_NE(one.find("(simulation, seed 4)\t3000\t"), std::string::npos) << one;
    EXPECT_EQ(one, run("2"));
    EXPECT_EQ(one, run("7"));
}

// A single session's luck: exact for fixed stakes, counted by hand.
TEST(SystemLuck, ExactForFixedStakes) {
    using namespace cr::analysis;
    EXPECT_NEAR(exactLuck(ZeroRule::Partage, 1, 1, 1), 18.0 / 37, 1e-12);
    EXPECT_NEAR(exactLuck(ZeroRule::Partage, 1, 1, -0.5), 19.0 / 37, 1e-12);
    EXPECT_NEAR(exactLuck(ZeroRule::Partage, 2, 2, 4), 18.0 * 18 / 1369, 1e-12);
    // Verloren, two spins, at least even: two wins or one of each.
    EXPECT_NEAR(exactLuck(ZeroRule::Verloren, 1, 2, 0), (324.0 + 2 * 18 * 19) / 1369, 1e-12);
    SystemRules r;
    r.marsch = Marsch::Rot;
    EXPECT_TRUE(luckOf(r, 2, 0, 100, 1).exact);
    r.progression = Progression::Martingale;
    const Luck simulated = luckOf(r, 2, 3, 20000, 1);
    EXPECT_FALSE(simulated.exact);
    // Martingale on two spins: two wins make +2, the most; at least +1 also
    // come a loss then a win of 2 (+1) and a zero then a win of 2 (+1.5).
    EXPECT_EQ(simulated.probability, 0);
    EXPECT_NEAR(luckOf(r, 2, 1, 20000, 1).probability, (324.0 + 324 + 18) / 1369, 0.015);
}

} // namespace
