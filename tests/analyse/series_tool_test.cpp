// SPDX-License-Identifier: GPL-3.0-or-later
// chancenraster-analyse --series: its refusals, its tables and its JSON.
#include "analyse.h"
#include "io/temp_dir.h"
#include "options.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace cr::batch;

TEST(SeriesTool, RefusesWhatDoesNotApply) {
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"--series", "--runs-of", "10", "f"}, "--runs-of does not apply to --series"},
        {{"--series", "--steprate", "2", "f"}, "--steprate does not apply"},
        {{"--series", "--simulate", "5", "--spins", "9", "--pool"}, "--pool only applies to files"},
        {{"--series", "--simulate", "5"}, "needs --spins"},
        {{"--series", "--simulate", "1000000", "--spins", "10000000"}, "more than 10^12"},
        {{"--series"}, "no permanence file"},
        {{"--series", "--seed", "3", "f"}, "--seed only applies"},
    };
    for (const auto& c : cases) {
        const ParsedArguments parsed = parseArguments(c.args);
        EXPECT_FALSE(parsed.options) << c.error;
        EXPECT_NE(parsed.error.find(c.error), std::string::npos) << parsed.error;
    }
}

// 0 1 3 0 5 2 0: Rot 1 3 5 then Schwarz 2. n1 = 3, n2 = 1: mean 1 + 6/4, variance
// 6·2/(16·3) = 1/4, so z = (2 − 2.5)/0.5; "RRR" in four decisions 3 of 16 ways.
TEST(SeriesTool, TableLineAndJsonKeys) {
    const cr::testing::TempDir dir;
    const std::string file = dir.write("t.csv", "0,1,3,0,5,2,0\n");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(runAnalysis({"--series", file}, out, err, false), kDone) << err.str();
    EXPECT_NE(out.str().find(file + "\trs\t4\t3\t1\t2\t2.5000\t-1.0000\t3\t0.1875\t1\t0.9375\t2\t"
                                    "1.0000\t0,0,1\t1\n"),
              std::string::npos)
        << out.str();
    // Seven spins: no p-value; 0 came three times, every other number but 1 2 3 5 never.
    EXPECT_NE(out.str().find("\n\nfile\tspins\tchi2\tchi2_p\tmost\t"), std::string::npos);
    EXPECT_NE(out.str().find(file + "\t7\t"), std::string::npos);
    std::ostringstream json;
    ASSERT_EQ(runAnalysis({"--series", "--json", file}, json, err, false), kDone);
    for (const char* key : {"\"file\":",
                            "\"spins\":7,",
                            "\"numbers\":[3,1,1,1,0,1,0,",
                            "\"chi2\":",
                            "\"chi2_p\":null",
                            "\"rs\":{\"decisions\":4,",
                            "\"runs\":2,",
                            "\"runs_expected\":2.5,",
                            "\"runs_z\":-1,",
                            "\"longest_1\":3,",
                            "\"longest_2\":1,",
                            "\"ecart\":2,",
                            "\"series_1\":[0,0,1]",
                            "\"series_2\":[1]",
                            "\"mp\":{",
                            "\"gu\":{",
                            "\"runs_z\":null",
                            "\"most\":0,",
                            "\"least\":4,",
                            "\"longest_1_chance\":0.1875,",
                            "\"ecart_per_root\":1,"}) {
        EXPECT_NE(json.str().find(key), std::string::npos) << key << "\n" << json.str();
    }
}

TEST(SeriesTool, SimulationIsTheSameOnAnyThreadCount) {
    const auto run = [](const char* threads) {
        std::ostringstream out;
        std::ostringstream err;
        runAnalysis({"--series", "--simulate", "500", "--spins", "200", "--seed", "9", "--json",
                     "--threads", threads},
                    out, err, false);
        return out.str();
    };
    const std::string one = run("1");
    EXPECT_NE(one.find("\"seed\":9,\"sequences\":500,\"spins\":100000,"), std::string::npos) << one;
    EXPECT_EQ(one, run("2"));
}

} // namespace
