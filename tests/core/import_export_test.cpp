// SPDX-License-Identifier: GPL-3.0-or-later
// Import and export where the scenario scripts do not go: a permanence too
// long for the spins box, fractional spins played, outcomes after an earlier
// import, and a clipboard that refuses the text.
#include "core/export.h"
#include "core/run.h"
#include "core/runfile.h"
#include "run_harness.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

using cr::Control;
using cr::PermanenceOutcome;
using cr::testing::Harness;
using Kind = PermanenceOutcome::Kind;

PermanenceOutcome readOutcome(const std::vector<double>& spins) {
    PermanenceOutcome o;
    o.kind = Kind::Read;
    o.header = {"Spielbank Permanenz", "Tisch 5", "Tag 14"};
    o.count = static_cast<double>(spins.size());
    o.cells.assign(spins.size() + 21, cr::kEmptyCell);
    std::copy(spins.begin(), spins.end(), o.cells.begin() + 1);
    return o;
}

TEST(Import, CountTheSpinsBoxRefusesIsStillTheRunsCount) {
    Harness h;
    h.run.applyPermanence(readOutcome(std::vector<double>(10000, 5)));
    EXPECT_EQ(h.window.textOf(Control::textanzahl), "");
    EXPECT_FALSE(h.window.isEnabled(Control::okstart));
    EXPECT_EQ(h.run.state().anzahl, 10000);
    EXPECT_EQ(h.run.state().permanzahl, 10000);
    EXPECT_EQ(h.run.state().modus, cr::Modus::Replayed);
}

// Fractional spins are played rounded half to even: 36.5 is 36, not 37.
TEST(Import, ReplayPlaysFractionsRoundedAndEndsAtTheLastSpin) {
    Harness h;
    h.run.applyPermanence(readOutcome({12.4, 0, 36.5, 7.5}));
    h.window.setText(Control::textanzahl, "30");
    h.window.type(Control::textwiederhol, "3");
    h.run.start();
    std::vector<int> taken;
    for (int i = 0; i < 4; ++i) {
        h.run.weiter();
        taken.push_back(h.run.state().zahl);
    }
    EXPECT_EQ(taken, (std::vector<int>{12, 0, 36, 8}));
    EXPECT_FALSE(h.window.isEnabled(Control::okweiter));
}

// A simulated run to watch replays as a permanence of its own numbers and
// names where it comes from.
TEST(Import, NumbersAtHandReplayAsAPermanence) {
    Harness h;
    const std::vector<std::uint8_t> numbers{12, 0, 36};
    h.run.applyOpened(cr::numbersAsPermanence(numbers), "Lauf 3 der Simulation mit Seed 5", false);
    EXPECT_EQ(h.run.state().permanzahl, 3);
    EXPECT_EQ(h.run.origin(), "nachgespielt aus Lauf 3 der Simulation mit Seed 5 ab Wurf 1");
    h.window.type(Control::textwiederhol, "3");
    h.run.start();
    std::vector<int> taken;
    for (int i = 0; i < 3; ++i) {
        h.run.weiter();
        taken.push_back(h.run.state().zahl);
    }
    EXPECT_EQ(taken, (std::vector<int>{12, 0, 36}));
}

// A file that is not read after an import and "Abbruch" forgets the count of
// the earlier permanence; a refused one keeps it.
TEST(Import, FailedOutcomesAfterAnEarlierImport) {
    const std::pair<Kind, double> cases[] = {
        {Kind::Refused, 4}, {Kind::EmptyFile, 0}, {Kind::NotSpielbank, 0}, {Kind::ReadFailure, 0}};
    for (const auto& [kind, permanzahl] : cases) {
        SCOPED_TRACE(static_cast<int>(kind));
        Harness h;
        h.run.applyPermanence(readOutcome({1, 2, 3, 4}));
        h.window.answers.push_back(true);
        h.run.abbruch();
        h.run.openChooser();
        PermanenceOutcome failed;
        failed.kind = kind;
        h.run.applyPermanence(failed);
        EXPECT_EQ(h.run.state().permanzahl, permanzahl);
        EXPECT_EQ(h.run.state().modus, cr::Modus::Drawn);
    }
}

TEST(Export, RefusedClipboardKeepsEverythingAndResetEmptiesTheText) {
    Harness h;
    h.startWith("40", "2", {0, 1, 2, 3, 4, 5});
    h.run.step();
    h.run.step();
    const cr::ResultTable before = h.run.state().feldtitel;
    h.window.clipboard = "old";
    h.window.clipboardRefuses = true;
    h.run.exportResults();
    EXPECT_FALSE(h.window.clipboard.has_value());
    EXPECT_EQ(h.run.state().feldtitel, before);
    EXPECT_EQ(h.run.state().statzeile, 1);
    EXPECT_TRUE(h.window.isEnabled(Control::okclip));

    h.window.clipboardRefuses = false;
    h.run.exportResults();
    EXPECT_EQ(h.window.clipboard, cr::exportText(before, true));
    EXPECT_EQ(h.run.state().feldtitel[1][2], "");
    EXPECT_EQ(h.run.state().statzeile, 0);
    EXPECT_FALSE(h.window.isEnabled(Control::okclip));

    // "Reset" begins the steps again: the export text of the earlier steps
    // goes with them, and "Export" waits for a new step.
    ASSERT_FALSE(h.run.cliptext().empty());
    h.run.step();
    ASSERT_TRUE(h.window.isEnabled(Control::okclip));
    h.run.reset();
    EXPECT_EQ(h.window.textOf(Control::cliptext), "");
    EXPECT_EQ(h.run.cliptext(), "");
    EXPECT_FALSE(h.window.isEnabled(Control::okclip));
}

} // namespace
