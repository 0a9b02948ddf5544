// SPDX-License-Identifier: GPL-3.0-or-later
// The run's rules where the scenario scripts cannot reach them or would grow
// huge: invariants over long random runs, entries and edits no script types,
// and corners of Start, Reset and the end of a run.
#include "core/engine.h"
#include "core/run.h"
#include "run_harness.h"

#include <array>
#include <cstddef>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

using cr::CellColour;
using cr::Control;
using cr::Pair;
using cr::testing::countersOf;
using cr::testing::Harness;
using cr::testing::numbersOf;

const std::string kEnded = " Der Computer erzeugt die Zahlen...\r  Ende erreicht ...";

// The drawn sequence: cell 0 is drawn first and never played, then 1, 2, ...
std::vector<int> oneToN(int n) {
    std::vector<int> spins{0};
    for (int k = 1; k <= n; ++k) {
        spins.push_back((k - 1) % 36 + 1);
    }
    return spins;
}

void weiter(Harness& h, int times) {
    for (int i = 0; i < times; ++i) {
        h.run.weiter();
    }
}

void expectEnded(const Harness& h) {
    EXPECT_FALSE(h.window.isEnabled(Control::okweiter));
    EXPECT_FALSE(h.window.isEnabled(Control::okstep));
    EXPECT_FALSE(h.window.isEnabled(Control::okreset));
    EXPECT_EQ(h.window.textOf(Control::text), kEnded); // the end line comes once
}

// Entries no scenario types: out of range however large, and hexadecimal.
TEST(StepRateBox, RefusesEveryValueOutsideOneTo16383) {
    const std::pair<std::string, int> cases[] = {
        {"-3", 0},         {"0.5", 0},        {"1.5", 2},         {"16383", 16383},
        {"&H3FFF", 16383}, {"16383.5", 0},    {"16384", 0},       {"1E9", 0},
        {"2147483647", 0}, {"2147483648", 0}, {"-2147483648", 0}, {"&H7FFFFFFF", 0},
        {"&H80000000", 0}, {"4294967297", 0}, {"1E308", 0},       {std::string(400, '7'), 0},
    };
    for (const auto& [entry, steprate] : cases) {
        SCOPED_TRACE("entry " + entry.substr(0, 20));
        Harness h;
        h.window.type(Control::textanzahl, "10");
        h.window.type(Control::textwiederhol, "5");
        h.window.setText(Control::textwiederhol, entry);
        EXPECT_EQ(h.run.state().steprate, steprate);
        EXPECT_EQ(h.window.isEnabled(Control::okstart), steprate > 0);
        EXPECT_EQ(h.window.textOf(Control::textwiederhol), steprate > 0 ? entry : "");
    }
}

struct RandomRun {
    std::string name;
    int steprate;
    int spins;
    int resetAfterSteps; // press Reset after this many steps; 0: never
};

class RandomRuns : public testing::TestWithParam<RandomRun> {};

// Long random runs, spin by spin: after every spin each counter agrees with
// the field states it counts and with its label, the spin's row carries the
// number and the green mark, and the hit fields take the step's colour. The
// window-free engine, given the same numbers, records the same steps.
TEST_P(RandomRuns, KeepTheInvariantsAndAgreeWithTheEngine) {
    const RandomRun& c = GetParam();
    std::mt19937 random(static_cast<unsigned>(c.steprate + c.spins));
    std::vector<int> numbers(static_cast<std::size_t>(c.spins) + 1);
    for (int& n : numbers) {
        n = std::uniform_int_distribution<int>(0, 36)(random);
    }
    Harness h;
    h.startWith(std::to_string(c.spins), std::to_string(c.steprate), numbers);
    cr::Engine engine(c.steprate);
    const cr::RunState& s = h.run.state();
    int row = -1;
    for (int spin = 1; spin <= c.spins && !HasFailure(); ++spin) {
        SCOPED_TRACE("spin " + std::to_string(spin));
        if (spin == c.resetAfterSteps * c.steprate + 1 && c.resetAfterSteps > 0) {
            EXPECT_EQ(numbersOf(h.run.history()), numbersOf(engine.steps()));
            h.run.reset();
            engine.reset();
            row = -1;
        }
        const CellColour hit = s.schritt == 1 ? CellColour::DarkRed : CellColour::DarkBlue;
        const int previous = row;
        row = (row + 1) % c.steprate;
        const auto n = numbers[static_cast<std::size_t>(spin)];
        h.run.weiter();
        engine.spin(n);

        const std::array<int, 6> counters = countersOf(s);
        EXPECT_EQ(engine.counters(), counters);
        std::array<int, 6> counted{};
        const cr::FieldTable* tables[] = {&s.feldrs, &s.feldmp, &s.feldgu};
        for (std::size_t pair = 0; pair < 3; ++pair) {
            for (std::size_t p = 1; p < tables[pair]->size(); ++p) {
                for (std::size_t side = 1; side <= 2; ++side) {
                    counted[pair] += (*tables[pair])[p][side] == cr::kFieldEmpty;
                    counted[pair + 3] += (*tables[pair])[p][side] == cr::kFieldOnce;
                }
            }
        }
        EXPECT_EQ(counted, counters);
        const Control labels[] = {Control::labtempa, Control::labtempb, Control::labtempc,
                                  Control::labtempd, Control::labtempe, Control::labtempf};
        for (std::size_t k = 0; k < 6; ++k) {
            EXPECT_EQ(h.window.textOf(labels[k]), std::to_string(counters[k]));
        }
        EXPECT_EQ(h.run.grid().number(row, 2), n);
        EXPECT_EQ(h.run.grid().colour(row, 0), CellColour::Green);
        if (previous >= 0 && previous != row) {
            EXPECT_EQ(h.run.grid().colour(previous, 0), CellColour::LightGrey);
        }
        for (Pair pair : {Pair::RS, Pair::MP, Pair::GU}) {
            const int first = 4 + 3 * static_cast<int>(pair);
            if (n == 0) {
                EXPECT_EQ(h.run.grid().colour(row, first), CellColour::Green);
                EXPECT_EQ(h.run.grid().colour(row, first + 1), CellColour::Green);
            } else {
                const int column = first - 1 + cr::sideOf(pair, n, s.farbe);
                EXPECT_EQ(h.run.grid().colour(row, column), hit) << column;
            }
        }
    }
    expectEnded(h);
    EXPECT_EQ(numbersOf(h.run.history()), numbersOf(engine.steps()));
    EXPECT_EQ(s.statwert, engine.statwert());
}

INSTANTIATE_TEST_SUITE_P(Runs, RandomRuns,
                         testing::Values(RandomRun{"StepRate1", 1, 60, 0},
                                         RandomRun{"StepRate2EndsInsideAStep", 2, 41, 0},
                                         RandomRun{"StepRate5", 5, 400, 0},
                                         RandomRun{"StepRate37ResetAfterThreeSteps", 37, 1000, 3},
                                         RandomRun{"StepRate37", 37, 9999, 0},
                                         RandomRun{"StepRate500", 500, 9999, 0}),
                         [](const auto& param) { return param.param.name; });

TEST(Start, SeedsTheRandomNumbersAtStartupAndAtEveryStart) {
    Harness h;
    EXPECT_EQ(h.random.seeds, 1);
    h.startWith("10", "4", oneToN(10));
    h.run.start();
    EXPECT_EQ(h.random.seeds, 3);
}

// A run without a spin ends at the first S t e p as at the first Weiter.
TEST(RunEnd, RunWithoutASpinEndsAtTheFirstStep) {
    Harness h;
    h.window.setText(Control::textanzahl, "0.5"); // pasted: typing it empties at the 0
    h.startWith("", "2", oneToN(4));
    h.run.step();
    expectEnded(h);
    EXPECT_EQ(h.window.textOf(Control::textakut), "");
    EXPECT_FALSE(h.run.grid().hasText(0, 2));
}

TEST(RunEnd, EditedSpinsBoxDoesNotMoveTheEndOfTheRunningRun) {
    Harness h;
    h.startWith("10", "4", oneToN(10));
    h.window.setText(Control::textanzahl, "5");
    weiter(h, 9);
    EXPECT_TRUE(h.window.isEnabled(Control::okweiter));
    h.run.weiter();
    expectEnded(h);
}

TEST(Statistic, HalfIsWrittenWithTheGivenSeparatorOnly) {
    cr::support::MemoryWindow window;
    cr::testing::QueuedRandom random;
    const cr::RunControl comma(window, random, ","), point(window, random, ".");
    EXPECT_EQ(comma.statisticText(16383), "8191,5"); // no group separator
    EXPECT_EQ(comma.statisticText(32766), "16383");
    EXPECT_EQ(point.statisticText(37), "18.5");
}

// The running step rate stays 4 while the box says 9; Reset then adopts the
// larger one, and the grid grows to it.
TEST(StepRateEdit, ResetAdoptsALargerStepRate) {
    Harness h;
    h.startWith("40", "4", oneToN(40));
    weiter(h, 2);
    h.window.setText(Control::textwiederhol, "9");
    h.run.step();
    EXPECT_EQ(h.run.state().akut, 4);
    EXPECT_EQ(h.window.textOf(Control::labstat), "4");
    EXPECT_EQ(h.run.grid().rowCount(), 4);

    h.run.reset();
    ASSERT_EQ(h.run.grid().rowCount(), 9);
    EXPECT_EQ(h.run.grid().text(8, 0), "9");
    EXPECT_EQ(h.run.state().leerrs, 18);
    EXPECT_EQ(h.run.state().statwert, 18);
    h.run.step();
    EXPECT_EQ(h.run.state().akut, 13);
    EXPECT_EQ(h.window.textOf(Control::labstat), "9");
}

// Everything a run shows or keeps for later, for comparing two runs.
void expectSameRunState(const Harness& a, const Harness& b, bool sameSpinNumber) {
    const auto kept = [sameSpinNumber](const Harness& h) {
        const cr::RunState& s = h.run.state();
        return std::tuple(sameSpinNumber ? s.akut : 0, s.zeile, s.schritt, s.serie, s.statwert,
                          countersOf(s), s.feldrs, s.feldmp, s.feldgu, s.feldtitel,
                          h.run.history().size(), h.run.cliptext());
    };
    EXPECT_TRUE(kept(a) == kept(b));
    const auto shown = [sameSpinNumber](const Harness& h) {
        std::vector<std::string> seen;
        for (Control c : {Control::labtempa, Control::labtempb, Control::labtempc,
                          Control::labtempd, Control::labtempe, Control::labtempf, Control::labstat,
                          Control::textstep, Control::okclip, Control::okweiter, Control::okstep,
                          Control::okreset, sameSpinNumber ? Control::textakut : Control::okclip}) {
            seen.push_back(h.window.textOf(c) + (h.window.isEnabled(c) ? " +" : " -"));
        }
        for (int r = 0; r < h.run.grid().rowCount(); ++r) {
            for (int c = 0; c < cr::ResultGrid::kColumns; ++c) {
                seen.push_back(h.run.grid().text(r, c) + "/" +
                               std::to_string(static_cast<int>(h.run.grid().colour(r, c))));
            }
        }
        return seen;
    };
    EXPECT_EQ(shown(a), shown(b));
}

// Whatever the run before left behind (in the middle of a step, after an
// export, after its end), a new Start looks exactly like the first Start of
// a fresh window with the same entries, and its first spins agree too.
TEST(SecondStart, BeginsAfreshLikeAFreshWindow) {
    struct Case {
        const char* name;
        int spinsBefore;
        bool exported;
        const char* newSteprate;
    };
    const Case cases[] = {
        {"middle of a step, smaller step rate", 3, false, "2"},
        {"after 5 steps and an export", 20, true, "4"},
        {"after the end of the run", 40, false, "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness before;
        before.startWith("40", "4", oneToN(40));
        weiter(before, c.spinsBefore);
        if (c.exported) {
            before.run.exportResults();
        }
        before.window.setText(Control::textwiederhol, c.newSteprate);
        before.random.queue.assign({0, 30, 31, 32, 0, 34, 35, 36, 1, 2});
        before.run.start();

        Harness fresh;
        fresh.window.type(Control::textanzahl, "40");
        fresh.startWith("40", c.newSteprate, {0, 30, 31, 32, 0, 34, 35, 36, 1, 2});
        expectSameRunState(before, fresh, true);
        EXPECT_EQ(before.window.textOf(Control::text), fresh.window.textOf(Control::text));
        EXPECT_EQ(before.run.state().statzeile, 1);
        weiter(before, 5);
        weiter(fresh, 5);
        expectSameRunState(before, fresh, true);
    }
}

// Reset returns the evaluation to a fresh start within the same run: apart
// from the spin number, everything the run shows and keeps is what Start
// gave, and the export holds only the steps since the Reset.
TEST(Reset, LeavesTheEvaluationAsStartDidButKeepsTheSpinNumber) {
    Harness afterReset;
    afterReset.startWith("60", "3", oneToN(60));
    weiter(afterReset, 16); // five steps and one spin
    afterReset.run.reset();
    Harness started;
    started.startWith("60", "3", oneToN(60));
    started.window.setText(Control::textstep, "0"); // Reset writes "0", Start leaves it

    expectSameRunState(afterReset, started, false);
    EXPECT_EQ(afterReset.run.state().akut, 16);
    EXPECT_EQ(afterReset.window.textOf(Control::textakut), "16");

    afterReset.run.step();
    afterReset.run.exportResults();
    const std::string exported = *afterReset.window.clipboard;
    EXPECT_NE(exported.find("leer   RS \t"), std::string::npos);
    // Step 1 of the new section, then 14 empty columns on every line.
    EXPECT_NE(exported.find("\t\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n"), std::string::npos);
}

// The end line of a replaced run goes; a header line that reads the same
// stays, because only the line the window appended is taken away.
TEST(SecondStart, RemovesOnlyTheEndLineTheWindowAppended) {
    Harness h;
    h.window.setVisible(Control::Frame1, true);
    cr::PermanenceOutcome file;
    file.kind = cr::PermanenceOutcome::Kind::Read;
    file.header = {"Spielbank", "  Ende erreicht ...", "x"};
    file.count = 2;
    file.cells.assign(23, cr::kEmptyCell);
    file.cells[1] = 5;
    file.cells[2] = 7;
    h.run.applyPermanence(file);
    const std::string header = h.window.textOf(Control::text);
    h.window.type(Control::textwiederhol, "1");
    h.run.start();
    weiter(h, 2);
    EXPECT_EQ(h.window.textOf(Control::text), header + "\r  Ende erreicht ...");
    h.window.setText(Control::textwiederhol, "2");
    h.run.start();
    EXPECT_EQ(h.window.textOf(Control::text), header);
    EXPECT_TRUE(h.window.isEnabled(Control::okweiter));
}

} // namespace
