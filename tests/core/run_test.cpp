#include "core/run.h"
#include "fake_window.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

using cr::CellColour;
using cr::Control;
using cr::Pair;
using cr::testing::FakeWindow;
using cr::testing::Harness;

// Table cases go by their names, in test names and in messages.
template <typename Case> std::string caseName(const testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

// leerrs, leermp, leergu, einmalrs, einmalmp, einmalgu
using Counters = std::array<int, 6>;

constexpr std::array<Control, 6> kCounterLabels{Control::labtempa, Control::labtempb,
                                                Control::labtempc, Control::labtempd,
                                                Control::labtempe, Control::labtempf};
constexpr std::array<int, 6> kChanceColumns{4, 5, 7, 8, 10, 11};

const std::string kStartupStatus = " Anzahl der gewünschten Würfe eingeben,\r"
                                   "  Step-Rate wählen und Start drücken.\r"
                                   "  Oder Import drücken und entspr. Datei der\r"
                                   "  Spielbank Hamburg angeben.";
const std::string kDrawStatus = " Der Computer erzeugt die Zahlen...";
const std::string kEndLine = "\r  Ende erreicht ...";

Counters countersOf(const cr::RunState& s) {
    return {s.leerrs, s.leermp, s.leergu, s.einmalrs, s.einmalmp, s.einmalgu};
}

// The drawn sequence: cell 0 is drawn first and never played.
std::vector<int> spinsFrom(std::vector<int> spins) {
    spins.insert(spins.begin(), 0);
    return spins;
}

std::vector<int> oneToN(int n) {
    std::vector<int> spins;
    for (int k = 1; k <= n; ++k) {
        spins.push_back((k - 1) % 36 + 1);
    }
    return spinsFrom(spins);
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
    // The end line comes once, after the line Start wrote.
    EXPECT_EQ(h.run.statusText(), kDrawStatus + kEndLine);
    EXPECT_EQ(h.window.textOf(Control::text), kDrawStatus + kEndLine);
}

// Every counter agrees with the field states it counts.
void expectCountersMatchFields(const cr::RunState& s) {
    const cr::FieldTable* tables[] = {&s.feldrs, &s.feldmp, &s.feldgu};
    Counters counted{};
    for (std::size_t pair = 0; pair < 3; ++pair) {
        for (std::size_t row = 1; row < tables[pair]->size(); ++row) {
            for (std::size_t side = 1; side <= 2; ++side) {
                const int state = (*tables[pair])[row][side];
                if (state == cr::kFieldEmpty) {
                    ++counted[pair];
                } else if (state == cr::kFieldOnce) {
                    ++counted[pair + 3];
                }
            }
        }
    }
    EXPECT_EQ(counted, countersOf(s));
}

class RunTest : public testing::Test {
protected:
    Harness h;
    FakeWindow& w = h.window;
    cr::RunControl& run = h.run;

    const cr::RunState& s() const { return run.state(); }
    bool on(Control c) const { return w.isEnabled(c); }
    std::string text(Control c) const { return w.textOf(c); }
    void weiter(int times) { ::weiter(h, times); }
    void expectGridCleared(int rows, bool numbered) const {
        ASSERT_EQ(run.grid().rowCount(), rows);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cr::ResultGrid::kColumns; ++c) {
                const std::string number = numbered && c == 0 ? std::to_string(r + 1) : "";
                EXPECT_EQ(run.grid().text(r, c), number) << r << "," << c;
                EXPECT_EQ(run.grid().colour(r, c), CellColour::LightGrey) << r << "," << c;
            }
        }
    }
};

TEST_F(RunTest, StartupShowsFourLinesAndStoresTheRowTitles) {
    EXPECT_EQ(text(Control::text), kStartupStatus);
    const char* titles[] = {"leer   RS ",   "leer   MP ",   "leer   GU ",
                            "1xrot    RS ", "1xrot    MP ", "1xrot    GU "};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(s().feldtitel[i + 1][0], titles[i]);
    }
    EXPECT_EQ(s().feldtitel[0][0], "");
    EXPECT_EQ(countersOf(s()), Counters{});
    EXPECT_EQ((std::array{s().statwert, s().schritt, s().statzeile}), (std::array{0, 1, 1}));
}

TEST(SpinsBox, StoresUsableEntriesUnroundedAndEmptiesTheBoxOnOthers) {
    const std::pair<const char*, double> cases[] = {
        {"0", 0}, {"-3", 0}, {"abc", 0}, {"", 0}, {"12abc", 12}, {"2.5", 2.5}, {"9999", 9999},
    };
    for (const auto& [entry, anzahl] : cases) {
        SCOPED_TRACE(std::string("entry '") + entry + "'");
        Harness h;
        h.window.type(Control::textanzahl, "7");
        h.window.type(Control::textwiederhol, "3");
        h.window.setText(Control::textanzahl, entry);
        EXPECT_EQ(h.window.textOf(Control::textanzahl), anzahl > 0 ? entry : "");
        EXPECT_EQ(h.run.state().anzahl, anzahl > 0 ? anzahl : 7);
        EXPECT_EQ(h.window.isEnabled(Control::okstart), anzahl > 0);
        EXPECT_TRUE(h.window.isEnabled(Control::textwiederhol));
        EXPECT_EQ(h.run.state().steprate, 3);
    }
}

TEST_F(RunTest, TypingTenThousandEmptiesTheBoxAtTheFifthKey) {
    for (double accepted : {1.0, 10.0, 100.0, 1000.0}) {
        w.type(Control::textanzahl, accepted == 1 ? "1" : "0");
        EXPECT_EQ(s().anzahl, accepted);
    }
    w.type(Control::textanzahl, "0");
    EXPECT_EQ(text(Control::textanzahl), "");
    EXPECT_EQ(s().anzahl, 1000);
}

struct StepRateCase {
    const char* name;
    std::string entry;
    int steprate; // 0: refused
};

void PrintTo(const StepRateCase& c, std::ostream* os) {
    *os << c.name;
}

class StepRateBox : public testing::TestWithParam<StepRateCase> {};

TEST_P(StepRateBox, RoundsAndAcceptsOnlyOneTo16383) {
    const StepRateCase& c = GetParam();
    Harness h;
    h.window.type(Control::textanzahl, "10");
    h.window.type(Control::textwiederhol, "5");
    h.window.setText(Control::textwiederhol, c.entry);
    EXPECT_EQ(h.run.state().steprate, c.steprate);
    EXPECT_EQ(h.window.isEnabled(Control::okstart), c.steprate > 0);
    EXPECT_EQ(h.window.textOf(Control::textwiederhol), c.steprate > 0 ? c.entry : "");
    EXPECT_EQ(h.window.textOf(Control::textanzahl), "10");
}

const std::vector<StepRateCase> kStepRateCases{
    {"HalfRoundsDownToEven", "2.5", 2},
    {"HalfRoundsUpToEven", "3.5", 4},
    {"AboveHalfRoundsUp", "0.6", 1},
    {"HalfRoundsToZero", "0.5", 0},
    {"Negative", "-3", 0},
    {"NoNumber", "abc", 0},
    {"Largest", "16383", 16383},
    {"LargestInHex", "&H3FFF", 16383},
    {"OneTooLarge", "16384", 0},
    {"HalfAboveLargest", "16383.5", 0},
    {"ClearlyTooLarge", "40000", 0},
    {"Billion", "1E9", 0},
    {"HexInt32Max", "&H7FFFFFFF", 0},
    {"NearDoubleMax", "1E308", 0},
    {"HundredsOfDigits", std::string(400, '7'), 0},
};

INSTANTIATE_TEST_SUITE_P(Entries, StepRateBox, testing::ValuesIn(kStepRateCases),
                         caseName<StepRateCase>);

TEST_F(RunTest, StepRateWithEmptySpinsBoxChangesNothing) {
    w.type(Control::textanzahl, "10");
    w.type(Control::textwiederhol, "4");
    w.setText(Control::textanzahl, "");
    w.type(Control::textwiederhol, "7");
    EXPECT_FALSE(on(Control::okstart));
    EXPECT_EQ(s().steprate, 4);
    EXPECT_EQ(text(Control::textwiederhol), "47");
}

// A fractional entry draws and plays up to its integer part.
TEST(Start, DrawsCellsZeroToTheWholeSpinsAndTheRunEndsThere) {
    const std::pair<const char*, int> cases[] = {{"100", 100}, {"2.5", 2}};
    for (const auto& [entry, total] : cases) {
        SCOPED_TRACE(entry);
        Harness h;
        std::vector<int> queue(130);
        for (std::size_t k = 0; k < queue.size(); ++k) {
            queue[k] = static_cast<int>(k % 37);
        }
        h.startWith(entry, "4", queue);
        const std::vector<int>& zahlen = h.run.state().zahlen;
        ASSERT_EQ(zahlen.size(), static_cast<std::size_t>(total) + 21);
        for (std::size_t k = 0; k < zahlen.size(); ++k) {
            EXPECT_EQ(zahlen[k], k <= static_cast<std::size_t>(total) ? queue[k] : -1) << k;
        }
        EXPECT_EQ(h.random.seeds, 2);
        weiter(h, total);
        expectEnded(h);
        EXPECT_EQ(h.window.textOf(Control::textakut), std::to_string(total));
    }
}

TEST_F(RunTest, StartSizesGridTablesAndCounters) {
    h.startWith("10", "4", {});
    ASSERT_EQ(run.grid().rowCount(), 4);
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(run.grid().text(r, 0), std::to_string(r + 1));
    }
    EXPECT_EQ(countersOf(s()), (Counters{8, 8, 8, 0, 0, 0}));
    EXPECT_EQ(s().statwert, 8);
    EXPECT_EQ((std::array{s().feldrs.size(), s().feldmp.size(), s().feldgu.size()}),
              (std::array<std::size_t, 3>{5, 5, 5}));
    EXPECT_EQ(text(Control::text), kDrawStatus);
    for (Control c : {Control::okabbrechen, Control::okweiter, Control::okstep, Control::okreset,
                      Control::textakut}) {
        EXPECT_TRUE(on(c)) << cr::controlName(c);
    }
    EXPECT_FALSE(on(Control::okextern));
    EXPECT_FALSE(on(Control::okstart));
}

TEST_F(RunTest, TenSpinsAtStepRateFourEndMidwayThroughStepThree) {
    h.startWith("10", "4", oneToN(10));
    for (int spin = 1; spin <= 10; ++spin) {
        SCOPED_TRACE("spin " + std::to_string(spin));
        run.weiter();
        const int row = (spin - 1) % 4;
        EXPECT_EQ(run.grid().number(row, 2), spin);
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(run.grid().colour(r, 0),
                      r == row ? CellColour::Green : CellColour::LightGrey);
        }
        if (spin == 4 || spin == 8) {
            EXPECT_EQ(text(Control::labstat), spin == 4 ? "4" : "2");
            EXPECT_TRUE(on(Control::okclip));
        }
        EXPECT_EQ(on(Control::okweiter), spin < 10);
    }
    expectEnded(h);
    EXPECT_TRUE(on(Control::okabbrechen));
    EXPECT_EQ(s().schritt, 3);
    EXPECT_EQ(s().zeile, 2);
    // 1..4 hit every field of step 1 once; 5..8 took each of them out again.
    using Column = std::array<std::string, 7>;
    const auto recorded = [this](std::size_t slot) {
        Column column;
        for (std::size_t e = 0; e < column.size(); ++e) {
            column[e] = s().feldtitel[e][slot];
        }
        return column;
    };
    EXPECT_EQ(recorded(1), (Column{"4", "4", "4", "4", "4", "4", "4"}));
    EXPECT_EQ(recorded(2), (Column{"2", "4", "4", "4", "0", "0", "0"}));
    EXPECT_EQ(recorded(3), Column{});
}

TEST_F(RunTest, LastSpinAtAStepEndStillRecordsTheStep) {
    h.startWith("8", "4", oneToN(8));
    weiter(7);
    w.enabled[Control::okclip] = false; // as after an export
    run.weiter();
    expectEnded(h);
    EXPECT_EQ(text(Control::labstat), "2");
    EXPECT_EQ(s().feldtitel[0][2], "2");
    EXPECT_TRUE(on(Control::okclip));
    EXPECT_EQ(s().zeile, 0);
}

TEST_F(RunTest, StepTakesTheRestOfTheStep) {
    h.startWith("20", "5", oneToN(20));
    weiter(3);
    run.step();
    EXPECT_EQ((std::array{s().akut, s().zeile, s().serie}), (std::array{5, 0, 0}));
    EXPECT_EQ(text(Control::textstep), "1"); // the finished step until the next spin
    run.step();
    EXPECT_EQ(s().akut, 10);
    EXPECT_EQ(text(Control::textstep), "2");
}

TEST_F(RunTest, SeriesReachingTheLastSpinStopsOneAboveIt) {
    h.startWith("6", "4", oneToN(6));
    run.step();
    run.step();
    expectEnded(h);
    EXPECT_EQ((std::array{s().akut, s().zeile, s().serie}), (std::array{7, 3, 0}));
    EXPECT_EQ(text(Control::textakut), "6");
    EXPECT_EQ(text(Control::labstat), "4");
    EXPECT_EQ(run.grid().number(1, 2), 6);
    EXPECT_EQ(run.grid().number(2, 2), 3);
    EXPECT_EQ(run.grid().colour(1, 0), CellColour::Green);
}

TEST(RunEnd, RunWithoutASpinEndsAtTheFirstPress) {
    for (bool series : {false, true}) {
        SCOPED_TRACE(series ? "S t e p" : "Weiter");
        Harness h;
        h.window.setText(Control::textanzahl, "0.5"); // pasted: typing it empties at the 0
        h.startWith("", "2", oneToN(4));
        series ? h.run.step() : h.run.weiter();
        expectEnded(h);
        EXPECT_EQ(h.window.textOf(Control::textakut), "");
        EXPECT_FALSE(h.run.grid().hasText(0, 2));
        EXPECT_EQ(h.window.textOf(Control::labtempa), "");
    }
}

TEST_F(RunTest, SecondStartWithFewerSpinsThanTakenEndsAtTheFirstPress) {
    h.startWith("10", "4", oneToN(10));
    weiter(3);
    w.setText(Control::textanzahl, "2");
    w.setText(Control::textwiederhol, "3");
    run.start();
    run.weiter();
    expectEnded(h);
    EXPECT_EQ(text(Control::textakut), "3");
}

TEST(RunEnd, EditedSpinsBoxDoesNotMoveTheEndOfTheRunningRun) {
    for (const char* edit : {"5", "50"}) {
        SCOPED_TRACE(edit);
        Harness local;
        local.startWith("10", "4", oneToN(10));
        local.window.setText(Control::textanzahl, edit);
        weiter(local, 9);
        EXPECT_TRUE(local.window.isEnabled(Control::okweiter));
        local.run.weiter();
        expectEnded(local);
    }
}

TEST_F(RunTest, StepRateOnePaintsOnlyTheFirstSpinDarkRed) {
    h.startWith("5", "1", spinsFrom({1, 1, 2, 2, 2}));
    const char* shown[] = {"1", "0,5", "0", "0", "0"};
    for (int spin = 0; spin < 5; ++spin) {
        SCOPED_TRACE("spin " + std::to_string(spin + 1));
        run.weiter();
        EXPECT_EQ(text(Control::labstat), shown[spin]);
        EXPECT_EQ(run.grid().colour(0, 0), CellColour::Green);
        EXPECT_EQ(run.grid().colour(0, 4), spin == 0 ? CellColour::DarkRed : CellColour::DarkBlue);
    }
    EXPECT_EQ(run.grid().colour(0, 5), CellColour::DarkBlue);
    EXPECT_EQ(s().statwert, 0);
}

struct TraceCase {
    const char* name;
    int steprate;
    std::vector<int> spins;
    std::vector<Counters> after; // counters after each spin
};

void PrintTo(const TraceCase& c, std::ostream* os) {
    *os << c.name;
}

class SpinTrace : public testing::TestWithParam<TraceCase> {};

TEST_P(SpinTrace, CountersAndColoursFollowEachSpin) {
    const TraceCase& c = GetParam();
    Harness h;
    h.startWith("20", std::to_string(c.steprate), spinsFrom(c.spins));
    const cr::RunState& s = h.run.state();
    for (std::size_t i = 0; i < c.spins.size(); ++i) {
        SCOPED_TRACE("spin " + std::to_string(i + 1));
        const CellColour hit = s.schritt == 1 ? CellColour::DarkRed : CellColour::DarkBlue;
        h.run.weiter();
        const int row = static_cast<int>(i) % c.steprate;
        EXPECT_EQ(countersOf(s), c.after[i]);
        expectCountersMatchFields(s);
        for (std::size_t k = 0; k < 6; ++k) {
            EXPECT_EQ(h.window.textOf(kCounterLabels[k]), std::to_string(c.after[i][k]));
        }
        if (c.spins[i] == 0) {
            for (int col : kChanceColumns) {
                EXPECT_EQ(h.run.grid().colour(row, col), CellColour::Green) << col;
            }
            continue;
        }
        for (Pair pair : {Pair::RS, Pair::MP, Pair::GU}) { // columns 4/5, 7/8, 10/11
            const int col = 3 + 3 * static_cast<int>(pair) + cr::sideOf(pair, c.spins[i], s.farbe);
            EXPECT_EQ(h.run.grid().colour(row, col), hit) << col;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, SpinTrace,
    testing::Values(
        // Zeros on fields in state 0 (spin 1), all in state 2 (spin 5) and mixed (spin 6).
        TraceCase{"ZerosOnEveryFieldState",
                  2,
                  {0, 1, 2, 2, 0, 0},
                  {{2, 2, 2, 0, 0, 0},
                   {1, 1, 1, 1, 1, 1},
                   {1, 1, 1, 1, 1, 1},
                   {0, 1, 0, 1, 0, 1},
                   {0, 1, 0, 1, 0, 1},
                   {0, 0, 0, 0, 0, 0}}},
        // Step 2: red on a field hit once (spin 3), then on an empty field (spin 4).
        TraceCase{
            "StepTwoHitsOnceAndEmptyFields",
            2,
            {1, 2, 3, 5},
            {{3, 3, 3, 1, 1, 1}, {2, 2, 2, 2, 2, 2}, {2, 2, 2, 1, 1, 1}, {1, 2, 1, 1, 0, 1}}}),
    caseName<TraceCase>);

TEST(Statistic, HalfIsWrittenWithTheGivenSeparatorOnly) {
    FakeWindow window;
    cr::testing::QueuedRandom random;
    const cr::RunControl comma(window, random, ","), point(window, random, ".");
    EXPECT_EQ(comma.statisticText(16383), "8191,5"); // no group separator
    EXPECT_EQ(comma.statisticText(32766), "16383");
    EXPECT_EQ(comma.statisticText(1), "0,5");
    EXPECT_EQ(point.statisticText(37), "18.5");
}

TEST(Statistic, StepEndsHalveTheValueRoundingHalvesToEven) {
    const std::pair<int, std::vector<std::string>> cases[] = {
        {3, {"3", "1,5", "1"}},
        {5, {"5", "2,5", "1"}},
        {37, {"37", "18,5", "9", "4,5", "2", "1", "0,5", "0"}},
    };
    for (const auto& [steprate, shown] : cases) {
        SCOPED_TRACE("step rate " + std::to_string(steprate));
        Harness h;
        h.startWith("400", std::to_string(steprate), {});
        for (std::size_t k = 0; k < shown.size(); ++k) {
            h.run.step();
            EXPECT_EQ(h.window.textOf(Control::labstat), shown[k]) << "step " << k + 1;
            EXPECT_EQ(h.run.state().feldtitel[0][k + 1], shown[k]);
        }
    }
}

TEST_F(RunTest, StepsAfterFifteenAreShownButNotRecorded) {
    h.startWith("20", "1", oneToN(20));
    weiter(15);
    EXPECT_EQ(s().feldtitel[0][15], "0");
    EXPECT_EQ(s().feldtitel[1][15], text(Control::labtempa));
    w.enabled[Control::okclip] = false; // as after an export
    w.texts[Control::labstat] = "";
    const cr::ResultTable recorded = s().feldtitel;
    run.weiter();
    EXPECT_EQ(text(Control::labstat), "0");
    EXPECT_EQ(text(Control::textstep), "16");
    EXPECT_FALSE(on(Control::okclip));
    EXPECT_EQ(s().feldtitel, recorded);
}

TEST_F(RunTest, ResetMidStepRestartsTheEvaluationAtTheNextSpin) {
    h.startWith("20", "4", oneToN(20));
    weiter(7);
    run.reset();
    EXPECT_EQ(text(Control::textstep), "0");
    for (Control label : kCounterLabels) {
        EXPECT_EQ(text(label), "");
    }
    EXPECT_EQ(text(Control::labstat), "");
    EXPECT_FALSE(on(Control::okclip));
    EXPECT_EQ(run.cliptext(), "");
    expectGridCleared(4, true);
    EXPECT_EQ(countersOf(s()), (Counters{8, 8, 8, 0, 0, 0}));
    EXPECT_EQ(s().statwert, 8);
    EXPECT_EQ(s().akut, 7);
    EXPECT_EQ(text(Control::textakut), "7");
    EXPECT_TRUE(on(Control::okweiter));

    run.weiter();
    EXPECT_EQ(run.grid().number(0, 2), 8);
    EXPECT_EQ(run.grid().colour(0, 0), CellColour::Green);
    EXPECT_EQ(text(Control::textstep), "1");
    EXPECT_EQ(run.grid().colour(0, 5), CellColour::DarkRed); // 8 is black, hit in step 1
    EXPECT_EQ(countersOf(s()), (Counters{7, 7, 7, 1, 1, 1}));
}

// Passes keep the step rate the run was prepared with, so they never address rows
// the grid lacks; Reset adopts an accepted entry and keeps the run's own otherwise.
TEST(StepRateEdit, RunKeepsItsStepRateUntilResetAdoptsAnAcceptedOne) {
    const std::pair<const char*, int> cases[] = {{"2", 2}, {"9", 9}, {"", 4}};
    for (const auto& [entry, adopted] : cases) {
        SCOPED_TRACE(std::string("step-rate box '") + entry + "'");
        Harness h;
        h.startWith("40", "4", oneToN(40));
        weiter(h, 2);
        h.window.setText(Control::textwiederhol, entry);
        h.run.weiter();
        EXPECT_EQ(h.run.state().zeile, 3);
        h.run.step();
        EXPECT_EQ(h.run.state().akut, 4);
        EXPECT_EQ(h.window.textOf(Control::labstat), "4");
        EXPECT_EQ(h.run.grid().rowCount(), 4);
        expectCountersMatchFields(h.run.state());

        h.run.reset();
        ASSERT_EQ(h.run.grid().rowCount(), adopted);
        EXPECT_EQ(h.run.grid().text(adopted - 1, 0), std::to_string(adopted));
        EXPECT_EQ(h.run.state().leerrs, 2 * adopted);
        EXPECT_EQ(h.run.state().statwert, 2 * adopted);
        h.run.step();
        EXPECT_EQ(h.run.state().akut, 4 + adopted);
        EXPECT_EQ(h.window.textOf(Control::labstat), std::to_string(adopted));
    }
}

TEST(SecondStart, KeepsThePositionUnlessItLiesOutsideTheNewStepRate) {
    const std::pair<const char*, int> cases[] = {{"5", 3}, {"3", 0}, {"2", 0}};
    for (const auto& [entry, zeile] : cases) {
        SCOPED_TRACE(std::string("new step rate ") + entry);
        Harness h;
        h.startWith("20", "4", oneToN(20));
        weiter(h, 3);
        h.window.setText(Control::textwiederhol, entry);
        ASSERT_TRUE(h.window.isEnabled(Control::okstart));
        h.random.queue.assign({0, 30, 31, 32, 33, 34, 35});
        h.run.start();
        EXPECT_EQ(h.run.state().akut, 3);
        EXPECT_EQ(h.run.state().schritt, 1);
        EXPECT_EQ(h.run.state().zeile, zeile);
        h.run.weiter();
        EXPECT_EQ(h.run.grid().number(zeile, 2), 33); // spin 4 of the new draw
        EXPECT_EQ(h.run.grid().colour(zeile, 0), CellColour::Green);
    }
}

TEST_F(RunTest, AbbruchAnsweredNoChangesNothing) {
    h.startWith("20", "4", oneToN(20));
    weiter(5);
    const auto texts = w.texts;
    const auto enabled = w.enabled;
    const auto zahlen = s().zahlen;
    run.abbruch();
    ASSERT_EQ(w.questions.size(), 1U);
    EXPECT_EQ(w.questions[0], " Abbruch|Abbruch bitte bestätigen !     ");
    EXPECT_EQ(w.texts, texts);
    EXPECT_EQ(w.enabled, enabled);
    EXPECT_EQ(s().zahlen, zahlen);
    EXPECT_EQ(s().akut, 5);
    EXPECT_EQ(s().steprate, 4);
    EXPECT_EQ(run.grid().number(0, 2), 5);
}

TEST_F(RunTest, AbbruchAnsweredYesReturnsToSetUp) {
    h.startWith("6", "4", oneToN(6));
    run.step();
    run.step();
    w.setText(Control::textwiederhol, "2"); // the grid still has 4 rows
    const std::string status = run.statusText();
    const cr::ResultTable recorded = s().feldtitel;
    w.answers.push_back(true);
    run.abbruch();

    expectGridCleared(4, false);
    EXPECT_EQ(run.statusText(), status);
    EXPECT_EQ(text(Control::text), status);
    EXPECT_EQ(std::count(s().zahlen.begin(), s().zahlen.end(), -1), std::ssize(s().zahlen));
    EXPECT_EQ(s().anzahl, 0);
    // steprate, akut, zeile, schritt, modus, serie, statzeile and the once counters
    EXPECT_EQ((std::array{s().steprate, s().akut, s().zeile, s().schritt, s().modus, s().serie,
                          s().statzeile, s().einmalrs, s().einmalmp, s().einmalgu}),
              (std::array{0, 0, 0, 1, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(s().feldtitel, recorded);
    EXPECT_EQ(text(Control::okstart), "Start");
    for (Control c :
         {Control::okstart, Control::okabbrechen, Control::okweiter, Control::okstep,
          Control::okreset, Control::okclip, Control::textakut, Control::textwiederhol}) {
        EXPECT_FALSE(on(c)) << cr::controlName(c);
    }
    for (Control c : {Control::okextern, Control::textanzahl}) {
        EXPECT_TRUE(on(c)) << cr::controlName(c);
    }
    for (Control c :
         {Control::textanzahl, Control::textstep, Control::textwiederhol, Control::textakut,
          Control::cliptext, Control::labtempa, Control::labtempf, Control::labstat}) {
        EXPECT_EQ(text(c), "") << cr::controlName(c);
    }

    h.startWith("10", "3", oneToN(10));
    run.weiter();
    EXPECT_EQ(run.grid().rowCount(), 3);
    EXPECT_EQ(run.grid().number(0, 2), 1);
    EXPECT_EQ(text(Control::textstep), "1");
}

TEST_F(RunTest, EndeClosesOnlyOnYes) {
    run.ende();
    EXPECT_FALSE(w.closed);
    w.answers.push_back(true);
    run.ende();
    EXPECT_TRUE(w.closed);
    ASSERT_EQ(w.questions.size(), 2U);
    EXPECT_EQ(w.questions[1], " Beenden|Soll das Programm beendet werden ?     ");
}

} // namespace
