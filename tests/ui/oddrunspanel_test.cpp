// SPDX-License-Identifier: GPL-3.0-or-later
// "Auffällige Läufe": the farthest runs of a result listed with where they
// come from, and a double click that asks for the replay of the right run.
#include "analysis/job.h"
#include "ui/analysis/oddrunspanel.h"

#include <QSignalSpy>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

using cr::analysis::JobInput;
using cr::analysis::JobResult;
using cr::analysis::Source;

QString cell(const cr::ui::OddRunsPanel& panel, int row, int column) {
    return panel.table()->item(row, column)->text();
}

// Two sources at step rate 2, runs of 8: the main window's permanence (from
// spin 100000 of its file) and numbers without a file. Leer R/S at step 3
// is 2 in runs 1 and 2 of the first and run 1 of the second, 0 in the rest.
TEST(OddRunsPanel, ListsTheFarthestAndReplaysFromTheirFirstSpin) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto result = std::make_shared<JobResult>();
    result->read.push_back(Source{"t1.csv ab Wurf 100000",
                                  {1,      2, 2, 1, 1, 2, 0, 0, /**/ 1, 1, 1, 1, 1, 1, 0, 0,
                                   /**/ 2, 2, 2, 2, 2, 2, 0, 0},
                                  std::nullopt,
                                  "/tische/t1.csv",
                                  100000});
    result->read.push_back(Source{"Zahlen", {1, 2, 1, 2, 1, 2, 5, 5}});
    JobInput input;
    input.steprate = 2;
    input.runLength = 8;
    cr::ui::OddRunsPanel panel;
    panel.setResult(result, input);
    panel.search(3, 0);
    panel.waitUntilDone();
    ASSERT_EQ(panel.table()->rowCount(), 4);
    // Three runs at 2, 1.539 from E = 2 · 2 (18/37)^3 = 0.4606 with
    // σ = √(2 q (1 − q)) = 0.5954, q = 0.2303: 2.59 σ; then the 0 at −0.77 σ.
    const QString expected[4][4] = {{"t1.csv ab Wurf 100000", "100.008", "2", "2,59"},
                                    {"t1.csv ab Wurf 100000", "100.016", "2", "2,59"},
                                    {"Zahlen", "1", "2", "2,59"},
                                    {"t1.csv ab Wurf 100000", "100.000", "0", "-0,77"}};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_EQ(cell(panel, row, column), expected[row][column]) << row << ", " << column;
        }
    }
    EXPECT_TRUE(
        panel.noteText().contains(QStringLiteral("\u201eLeer R/S\u201c am Ende von Step 3")))
        << panel.noteText().toStdString();

    QSignalSpy files(&panel, &cr::ui::OddRunsPanel::replayFile);
    QSignalSpy numbers(&panel, &cr::ui::OddRunsPanel::replayNumbers);
    panel.replayRow(1);
    ASSERT_EQ(files.count(), 1);
    EXPECT_EQ(files[0][0].toString(), QStringLiteral("/tische/t1.csv"));
    EXPECT_EQ(files[0][1].toLongLong(), 100016);
    panel.replayRow(2);
    ASSERT_EQ(numbers.count(), 1);
    EXPECT_EQ(numbers[0][1].value<std::vector<std::uint8_t>>(),
              (std::vector<std::uint8_t>{1, 2, 1, 2, 1, 2, 5, 5}));
}

} // namespace
