// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own command line, and the repeatable draw that --seed selects.
#include "core/commandline.h"
#include "core/random.h"
#include "core/run.h"
#include "run_harness.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using cr::CommandLine;
using cr::parseCommandLine;

struct Accepted {
    std::vector<std::string> args;
    CommandLine::Action action;
    std::optional<std::uint64_t> seed;
    std::optional<std::string> file = std::nullopt;
};

TEST(CommandLine, ReadsTheActionAndTheSeed) {
    using A = CommandLine::Action;
    const Accepted cases[] = {
        {{}, A::OpenWindow, std::nullopt},
        {{"--seed", "7"}, A::OpenWindow, 7},
        {{"tisch 1.csv"}, A::OpenWindow, std::nullopt, "tisch 1.csv"},
        {{"--seed=2", "p.txt"}, A::OpenWindow, 2, "p.txt"},
        {{"--", "--seed"}, A::OpenWindow, std::nullopt, "--seed"},
        {{"--seed=0"}, A::OpenWindow, 0},
        {{"--seed", "18446744073709551615"}, A::OpenWindow, 18446744073709551615ULL},
        {{"--help"}, A::ShowHelp, std::nullopt},
        {{"-h", "--bogus"}, A::ShowHelp, std::nullopt}, // help wins over what follows
        {{"--seed", "3", "--version"}, A::ShowVersion, std::nullopt},
    };
    for (const Accepted& c : cases) {
        std::string name;
        for (const std::string& a : c.args) {
            name += a + " ";
        }
        SCOPED_TRACE(name);
        const cr::ParsedCommandLine parsed = parseCommandLine(c.args);
        ASSERT_TRUE(parsed.commandLine) << parsed.error;
        EXPECT_EQ(parsed.commandLine->action, c.action);
        if (c.action == A::OpenWindow) {
            EXPECT_EQ(parsed.commandLine->seed, c.seed);
            EXPECT_EQ(parsed.commandLine->file, c.file);
        }
    }
}

TEST(CommandLine, RefusesWhatItCannotUseWithOneGermanLine) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--sead", "7"}, "unbekannte Option \u201e--sead\u201c"},
        {{"-s"}, "unbekannte Option \u201e-s\u201c"},
        {{"--seed"}, "--seed braucht einen Startwert"},
        {{"--seed", "7", "--seed=8"}, "--seed ist doppelt angegeben"},
        {{"a.txt", "b.txt"}, "unerwartetes Argument \u201eb.txt\u201c"},
        {{"--", "a.txt", "b.txt"}, "nach -- steht genau eine Datei"},
        {{"--seed", "3", "-"}, "unerwartetes Argument \u201e-\u201c"},
    };
    for (const auto& [args, error] : cases) {
        SCOPED_TRACE(error);
        const cr::ParsedCommandLine parsed = parseCommandLine(args);
        EXPECT_FALSE(parsed.commandLine);
        EXPECT_EQ(parsed.error, error);
    }
}

TEST(CommandLine, TakesOnlyPlainDigitsWithinSixtyFourBitsAsSeed) {
    for (const std::string value :
         {"", "-1", "+7", " 7", "7 ", "0x10", "7.0", "1e3", "abc", "18446744073709551616"}) {
        SCOPED_TRACE("value \"" + value + "\"");
        const cr::ParsedCommandLine parsed = parseCommandLine({"--seed=" + value});
        EXPECT_FALSE(parsed.commandLine);
        EXPECT_EQ(parsed.error, "--seed erwartet eine ganze Zahl von 0 bis 18446744073709551615, "
                                "nicht \u201e" +
                                    value + "\u201c");
    }
}

TEST(CommandLine, HelpNamesEveryOptionTheParserTakes) {
    const std::string help = cr::commandLineHelp();
    for (const char* option : {"--seed S", "-h, --help", "--version"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

// What "Start" draws for 200 spins at step rate 4 with the given source.
std::vector<int> drawnByStart(cr::RandomSource& random, int starts) {
    cr::support::MemoryWindow window;
    cr::RunControl run{window, random, ","};
    window.run = &run;
    run.startup();
    window.type(cr::Control::textanzahl, "200");
    window.type(cr::Control::textwiederhol, "4");
    for (int i = 0; i < starts; ++i) {
        run.start();
    }
    return run.state().zahlen;
}

TEST(SeededRandom, EveryStartDrawsTheSameNumbersForTheSameSeed) {
    cr::SeededRandom seven(7);
    const std::vector<int> first = drawnByStart(seven, 1);
    ASSERT_GT(first.size(), 200U);
    EXPECT_EQ(drawnByStart(seven, 2), first); // a second Start in the same window
    cr::SeededRandom sevenAgain(7);
    EXPECT_EQ(drawnByStart(sevenAgain, 1), first); // another session
    cr::SeededRandom eight(8);
    EXPECT_NE(drawnByStart(eight, 1), first);
}

} // namespace
