#include "core/export.h"
#include "core/run.h"
#include "fake_window.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using cr::Control;
using cr::PermanenceOutcome;
using cr::testing::Harness;
using Kind = PermanenceOutcome::Kind;
using Lines = std::vector<std::vector<std::string>>;

const std::string kChooserStatus = "  Geben Sie den Ort an, wo sich die Datei\r"
                                   "   mit den Permanenzen der Hamburger Spiel-\r"
                                   "   bank befindet und drücken Sie anschl. OK";

PermanenceOutcome outcome(Kind kind, std::vector<std::string> header = {}, long long spin = 0,
                          std::string text = {}) {
    PermanenceOutcome o;
    o.kind = kind;
    o.header = std::move(header);
    o.refusedSpin = spin;
    o.refusedText = std::move(text);
    return o;
}

PermanenceOutcome readOutcome(const std::vector<double>& spins) {
    PermanenceOutcome o = outcome(Kind::Read, {"Spielbank Permanenz", "Tisch 5", "Tag 14"});
    o.count = static_cast<double>(spins.size());
    o.cells.assign(spins.size() + 21, cr::kEmptyCell);
    std::copy(spins.begin(), spins.end(), o.cells.begin() + 1);
    return o;
}

std::size_t emptyCells(const std::vector<double>& cells) {
    return static_cast<std::size_t>(std::count_if(cells.begin(), cells.end(), cr::isEmptyCell));
}

TEST(Chooser, ShowsItsInstructionsAndCancelReturnsToTheModeText) {
    Harness h;
    h.run.openChooser();
    EXPECT_TRUE(h.window.visible[Control::Frame1]);
    EXPECT_EQ(h.window.textOf(Control::text), kChooserStatus);
    h.run.cancelChooser();
    EXPECT_FALSE(h.window.visible[Control::Frame1]);
    EXPECT_EQ(h.run.state().modus, 0);
    EXPECT_EQ(h.window.textOf(Control::text), " Anzahl der gewünschten Würfe eingeben,\r"
                                              "  Modus wählen und Start drücken.\r"
                                              "  Oder Import drücken und entspr. Datei der\r"
                                              "  Spielbank Hamburg angeben.");
    EXPECT_TRUE(h.window.isEnabled(Control::okextern));
}

TEST(Import, ReadFileBecomesTheRunsNumbers) {
    Harness h;
    h.run.openChooser();
    h.run.applyPermanence(readOutcome({12, 0, 31, 7}));
    const cr::RunState& s = h.run.state();
    EXPECT_EQ(s.permanzahl, 4);
    EXPECT_EQ(s.anzahl, 4);
    EXPECT_EQ(h.window.textOf(Control::textanzahl), "4");
    EXPECT_TRUE(h.window.isEnabled(Control::textwiederhol)); // the spins box check ran
    EXPECT_EQ(s.modus, 1);
    ASSERT_EQ(s.permanenz.size(), 25u);
    EXPECT_EQ(emptyCells(s.permanenz), 21u);
    EXPECT_EQ(std::vector(s.permanenz.begin() + 1, s.permanenz.begin() + 5),
              (std::vector<double>{12, 0, 31, 7}));
    EXPECT_EQ(h.window.textOf(Control::text), "Spielbank Permanenz\rTisch 5\rTag 14");
    EXPECT_FALSE(h.window.visible[Control::Frame1]);
    EXPECT_FALSE(h.window.isEnabled(Control::okextern));
    EXPECT_TRUE(h.window.isEnabled(Control::okabbrechen));
}

TEST(Import, CountTheSpinsBoxRejectsEmptiesIt) {
    for (std::size_t count : {0u, 10000u}) {
        Harness h;
        h.run.applyPermanence(readOutcome(std::vector<double>(count, 5)));
        EXPECT_EQ(h.window.textOf(Control::textanzahl), "") << count;
        EXPECT_FALSE(h.window.isEnabled(Control::okstart));
        EXPECT_EQ(h.run.state().anzahl, static_cast<double>(count));
        EXPECT_EQ(h.run.state().permanzahl, static_cast<double>(count));
        EXPECT_EQ(h.run.state().modus, 1);
        EXPECT_EQ(h.run.state().permanenz.size(), count + 21);
    }
}

struct FailedImport {
    std::string name;
    PermanenceOutcome outcome;
    std::string status;
    bool frameStays;
    double permanzahl;
};

class FailedImports : public testing::TestWithParam<FailedImport> {};

// Comes after a read file, "Abbruch" (which discards the permanence), 25 typed
// spins and "Import": permanzahl is still 4, everything else is set-up.
TEST_P(FailedImports, TakeNothingOver) {
    const FailedImport& c = GetParam();
    Harness h;
    h.run.applyPermanence(readOutcome({1, 2, 3, 4}));
    h.window.answers.push_back(true);
    h.run.abbruch();
    h.window.type(Control::textanzahl, "25");
    h.run.openChooser();
    h.run.applyPermanence(c.outcome);
    const cr::RunState& s = h.run.state();
    EXPECT_EQ(h.window.textOf(Control::text), c.status);
    EXPECT_EQ(h.window.visible[Control::Frame1], c.frameStays);
    EXPECT_EQ(h.window.isEnabled(Control::okextern), c.frameStays);
    EXPECT_EQ(h.window.isEnabled(Control::okabbrechen), !c.frameStays);
    EXPECT_EQ(s.permanzahl, c.permanzahl);
    EXPECT_EQ(s.modus, 0);
    EXPECT_EQ(s.anzahl, 25);
    EXPECT_EQ(h.window.textOf(Control::textanzahl), "25");
    EXPECT_EQ(emptyCells(s.permanenz), s.permanenz.size());
}

const FailedImport kFailedImports[] = {
    {"Refused", outcome(Kind::Refused, {}, 7, "36.6"),
     " Datei nicht übernommen:\r  Wurf 7 lautet 36.6,\r  erlaubt sind 0 bis 36.", true, 4},
    {"EmptyFile", outcome(Kind::EmptyFile), kChooserStatus, true, 0},
    {"NotSpielbank", outcome(Kind::NotSpielbank), kChooserStatus, true, 0},
    {"ReadFailure", outcome(Kind::ReadFailure), kChooserStatus, false, 0},
    {"ReadFailureAfterField1", outcome(Kind::ReadFailure, {"F1"}), "F1\r", false, 0},
    {"ReadFailureAfterField2", outcome(Kind::ReadFailure, {"F1", "F2"}), "F1\rF2\r", false, 0},
    {"ReadFailureAfterField3", outcome(Kind::ReadFailure, {"F1", "F2", "F3"}), "F1\rF2\rF3", false,
     0},
};

INSTANTIATE_TEST_SUITE_P(Outcomes, FailedImports, testing::ValuesIn(kFailedImports),
                         [](const testing::TestParamInfo<FailedImport>& param) {
                             return param.param.name;
                         });

TEST(Import, ReplayEndsAtTheLastImportedSpin) {
    Harness h;
    h.run.applyPermanence(readOutcome({12.4, 0, 36.5, 7}));
    h.window.setText(Control::textanzahl, "30");
    h.window.type(Control::textwiederhol, "3");
    h.run.start();
    EXPECT_EQ(h.run.runTotal(), 4);
    std::vector<int> taken;
    for (int i = 0; i < 4; ++i) {
        h.run.weiter();
        taken.push_back(h.run.state().zahl);
    }
    EXPECT_EQ(taken, (std::vector<int>{12, 0, 36, 7}));
    EXPECT_FALSE(h.window.isEnabled(Control::okweiter));
    EXPECT_EQ(h.window.textOf(Control::text),
              "Spielbank Permanenz\rTisch 5\rTag 14\r  Ende erreicht ...");
    h.run.step();
    EXPECT_EQ(h.window.textOf(Control::textakut), "4");
}

// The export text as lines of fields; every line must end in CR LF.
Lines split(const std::string& text) {
    Lines lines;
    for (std::size_t begin = 0, end; begin < text.size(); begin = end + 2) {
        end = text.find("\r\n", begin);
        EXPECT_NE(end, std::string::npos) << "line without CR LF";
        std::string line = text.substr(begin, end - begin) + '\t';
        lines.emplace_back();
        for (std::size_t tab; (tab = line.find('\t')) != std::string::npos;
             line.erase(0, tab + 1)) {
            lines.back().push_back(line.substr(0, tab));
        }
        EXPECT_EQ(lines.back().size(), 16u) << text.substr(begin, end - begin);
        if (end == std::string::npos) {
            break;
        }
    }
    return lines;
}

// The clipboard text holds the table: the statistics line on request, then
// the six counter lines, each field the cell of its column.
void expectExported(const std::string& text, const cr::ResultTable& t, bool withStatistics) {
    const Lines lines = split(text);
    ASSERT_EQ(lines.size(), withStatistics ? 7u : 6u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t r = withStatistics ? i : i + 1;
        std::vector<std::string> fields(t[r].begin(), t[r].end());
        if (r == 0) {
            fields[0] = "Statistisch ";
        }
        EXPECT_EQ(lines[i], fields) << "line " << i;
    }
}

class Export : public testing::Test {
protected:
    Harness h;
    const cr::RunState& s() const { return h.run.state(); }
    void weiter(int times) {
        for (int i = 0; i < times; ++i) {
            h.run.weiter();
        }
    }
    // Starts 40 spins at step rate 2 (1 to 30, then zeros) and takes two steps.
    void startTwoSteps() {
        std::vector<int> numbers(41, 0);
        for (std::size_t k = 1; k <= 30; ++k) {
            numbers[k] = static_cast<int>(k);
        }
        h.startWith("40", "2", numbers);
        weiter(4);
    }
    void expectCountersCleared() const {
        for (std::size_t r = 1; r <= 6; ++r) {
            for (std::size_t c = 1; c <= 15; ++c) {
                EXPECT_EQ(s().feldtitel[r][c], "") << r << "," << c;
            }
        }
    }
};

TEST_F(Export, PutsTheTableOnTheClipboardThenClearsTheCounters) {
    startTwoSteps();
    const cr::ResultTable before = s().feldtitel;
    ASSERT_NE(before[1][2], "");
    h.run.exportResults();
    ASSERT_TRUE(h.window.clipboard.has_value());
    expectExported(*h.window.clipboard, before, true);
    EXPECT_EQ(h.run.cliptext(), *h.window.clipboard);
    expectCountersCleared();
    EXPECT_EQ(s().feldtitel[0], before[0]);
    EXPECT_EQ(s().feldtitel[1][0], "leer   RS ");
    EXPECT_EQ(s().statzeile, 0);
    EXPECT_FALSE(h.window.isEnabled(Control::okclip));

    // Two more steps: no statistics line, columns 1 and 2 stay empty.
    weiter(4);
    const cr::ResultTable later = s().feldtitel;
    h.run.exportResults();
    expectExported(*h.window.clipboard, later, false);
    for (std::size_t r = 1; r <= 6; ++r) {
        EXPECT_EQ(later[r][1] + later[r][2] + later[r][5], "") << r;
        EXPECT_TRUE(!later[r][3].empty() && !later[r][4].empty()) << r;
    }
}

TEST_F(Export, RefusingClipboardKeepsEverythingForAnotherTry) {
    startTwoSteps();
    const cr::ResultTable before = s().feldtitel;
    h.window.clipboard = "old";
    h.window.clipboardRefuses = true;
    h.run.exportResults();
    EXPECT_FALSE(h.window.clipboard.has_value());
    EXPECT_EQ(s().feldtitel, before);
    EXPECT_EQ(s().statzeile, 1);
    EXPECT_TRUE(h.window.isEnabled(Control::okclip));

    h.window.clipboardRefuses = false;
    h.run.exportResults();
    ASSERT_TRUE(h.window.clipboard.has_value());
    expectExported(*h.window.clipboard, before, true);
    expectCountersCleared();
}

TEST_F(Export, AfterResetNewStepsOverwriteFromColumnOne) {
    startTwoSteps();
    weiter(26); // steps 3 to 15
    const cr::ResultTable before = s().feldtitel;
    h.run.reset();
    weiter(2); // two zeros this time
    const cr::ResultTable after = s().feldtitel;
    EXPECT_NE(after[1][1], before[1][1]);
    for (std::size_t r = 0; r <= 6; ++r) {
        EXPECT_TRUE(std::equal(after[r].begin() + 2, after[r].end(), before[r].begin() + 2)) << r;
    }
    h.run.exportResults();
    expectExported(*h.window.clipboard, after, true);
}

} // namespace
