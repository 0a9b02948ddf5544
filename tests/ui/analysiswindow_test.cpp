// SPDX-License-Identifier: GPL-3.0-or-later
// "Auswertung": the window's table of files with a refused one among them,
// "Abbrechen", the form's bounds, and the window's parts: the progress text,
// the table model and the job runner.
#include "analysis/analysisform.h"
#include "analysis/job.h"
#include "analysis/progresstext.h"
#include "analysis/summary.h"
#include "ui/analysis/analysisjob.h"
#include "ui/analysis/analysiswindow.h"
#include "ui/analysis/summarymodel.h"
#include "ui/charts/coursechart.h"
#include "ui/charts/histogramview.h"
#include "window_fixture.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QBrush>
#include <QImage>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

using cr::ui::AnalysisWindow;
using cr::ui::JobRunner;

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
}

QByteArray table(int seed, int spins) {
    QByteArray text;
    for (int k = 0; k < spins; ++k) {
        text += QByteArray::number((k * seed + k / 37 + seed) % 37) + (k % 9 == 8 ? "\r\n" : ",");
    }
    return text;
}

// The window hands its entries to the job and shows what the library makes
// of the same input (the library's rows equal the tool's: tests/analyse);
// a refused file among good ones is named with the import's lines.
TEST(AnalysisWindowTest, TableOfTheEntriesAndARefusedFileIsNamed) {
    QTemporaryDir dir;
    const QString first = writeFile(dir, QStringLiteral("a.csv"), table(7, 2000));
    const QString bad = writeFile(dir, QStringLiteral("schlecht.csv"), "3,4\r\n5,-1\r\n");
    const QString second = writeFile(dir, QStringLiteral("b.csv"), table(11, 1500));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    AnalysisWindow window(nullptr);
    window.addFiles({first, bad, second});
    window.setSteprate(5);
    window.setRunLength(45);
    window.calculate();
    window.waitUntilDone();
    ASSERT_FALSE(window.busy());
    EXPECT_EQ(window.progressText(), QStringLiteral("3.465 von 3.465 Würfen"));
    EXPECT_EQ(window.refusalText(), QStringLiteral("schlecht.csv:\n Datei nicht übernommen:\n"
                                                   "  Wurf 4 lautet -1,\n"
                                                   "  erlaubt sind 0 bis 36."));
    EXPECT_EQ(window.runs(), 2000 / 45 + 1500 / 45);
    cr::analysis::JobInput input;
    input.files = {first.toStdString(), second.toStdString()};
    input.steprate = 5;
    input.runLength = 45;
    cr::analysis::JobProgress progress;
    const std::vector<cr::analysis::SummaryRow> rows =
        cr::analysis::summaryRows(cr::analysis::runJob(input, progress).stats, 5);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(window.tableText().toStdString(), cr::analysis::summaryTableText(rows, ","));
    ASSERT_EQ(window.table()->model()->rowCount(), 9);
    EXPECT_EQ(window.table()->model()->index(8, 0).data(), QStringLiteral("9"));
    // The chart shows the means per step; it saves as PNG and as SVG.
    ASSERT_EQ(window.chart()->runs().steps.size(), 9u);
    EXPECT_EQ(window.chart()->runs().steps[1].mean[4], rows[1].mean[4]);
    EXPECT_EQ(window.chart()->runs().steps[8].sd[2], rows[8].sd[2]);
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    const QString svg = dir.filePath(QStringLiteral("chart.svg"));
    ASSERT_TRUE(window.saveChart(png));
    ASSERT_TRUE(window.saveChart(svg));
    EXPECT_EQ(QImage(png).size(), window.chart()->size());
    QFile svgFile(svg);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svgFile.readAll().contains("<svg"));
    // The histogram of a chosen step and counter, against the exact law.
    window.histogram()->choose(2, 4);
    const QString histogram = window.histogram()->text();
    EXPECT_TRUE(histogram.contains(QStringLiteral("Freiheitsgraden, p = ")))
        << histogram.toStdString();
}

// "Abbrechen" ends a simulation that would run for hours; the window is
// ready for the next one and keeps the results it showed before.
TEST(AnalysisWindowTest, CancelStopsALongSimulationAndKeepsTheLastResults) {
    AnalysisWindow window(nullptr);
    window.chooseSimulation(20, 5);
    window.setSteprate(4);
    window.setRunLength(40);
    window.calculate();
    window.waitUntilDone();
    ASSERT_EQ(window.runs(), 20);
    window.chooseSimulation(10000000, 5);
    window.setRunLength(100000);
    window.calculate();
    EXPECT_TRUE(window.busy());
    window.cancel();
    window.waitUntilDone();
    EXPECT_FALSE(window.busy());
    EXPECT_EQ(window.progressText(), QStringLiteral("Abgebrochen"));
    EXPECT_EQ(window.runs(), 20);
    EXPECT_EQ(window.rows().size(), 10u);
}

// The form starts at runs of ten steps of 37 spins and 100.000 runs; no
// entry reaches past 10^7 runs or runs of 100.000 spins, typed or set.
TEST(AnalysisWindowTest, FormDefaultsAndBounds) {
    AnalysisWindow window(nullptr);
    EXPECT_EQ(window.lengthBox()->value(), 370);
    EXPECT_EQ(window.runsBox()->value(), 100000);
    window.setSteprate(16383);
    EXPECT_EQ(window.lengthBox()->value(), 100000) << "ten steps, bounded";
    window.setRunLength(100001);
    EXPECT_EQ(window.lengthBox()->value(), 100000);
    window.chooseSimulation(10000001, 1);
    EXPECT_EQ(window.runsBox()->value(), 10000000);
    window.runsBox()->clear();
    QTest::keyClicks(window.runsBox(), QStringLiteral("99999999"));
    EXPECT_EQ(window.runsBox()->value(), 9999999);
}

// The step rate "Auswertung" opens with: the step-rate box's, else the last
// run's, else 37.
TEST(AnalysisForm, OfferedSteprate) {
    for (const auto& [box, run, offered] :
         {std::tuple{0, 0, 37}, std::tuple{0, 12, 12}, std::tuple{5, 12, 5}, std::tuple{5, 0, 5}}) {
        EXPECT_EQ(cr::analysis::offeredSteprate(box, run), offered) << box << ", " << run;
    }
}

// "Auswertung" opens with the step rate the box holds, not the last run's.
using AnalysisOpening = cr::testing::WindowTest;
TEST_F(AnalysisOpening, WithTheSteprateTheBoxHolds) {
    startRun("100", "4");
    typeInto("textwiederhol", QStringLiteral("6"));
    window->actions()[4]->trigger();
    auto* analysis = window->findChild<AnalysisWindow*>();
    ASSERT_NE(analysis, nullptr);
    EXPECT_EQ(analysis->steprateBox()->value(), 6);
}

// The progress while files are read, on the way, and at the end; the time
// left rounded up, as %g writes it; the bar in thousandths.
TEST(ProgressText, OnTheWayAndAtTheEnd) {
    struct Case {
        long long done, total;
        bool ended;
        double seconds;
        const char* text;
        int permille;
    };
    const auto marked = [](long long n) {
        return std::string(1, '<').append(std::to_string(n)).append(1, '>');
    };
    for (const Case& c : {
             Case{0, 0, false, 3, "Dateien werden gelesen …", -1},
             Case{0, 0, true, 3, "<0> von <0> Würfen", -1},
             Case{0, 1000, false, 3, "<0> von <1000> Würfen", 0},
             Case{450, 1000, false, 9, "<450> von <1000> Würfen, noch 11 s", 450},
             Case{990, 1000, false, 99, "<990> von <1000> Würfen, noch 1 s", 990},
             Case{999, 1000, false, 0.001, "<999> von <1000> Würfen, noch 1 s", 999},
             Case{1, 1234568, false, 1, "<1> von <1234568> Würfen, noch 1.23457e+06 s", 0},
             Case{1000, 1000, false, 8, "<1000> von <1000> Würfen", 1000},
         }) {
        EXPECT_EQ(cr::analysis::progressText(c.done, c.total, c.ended, c.seconds, marked), c.text);
        EXPECT_EQ(cr::analysis::progressPermille(c.done, c.total), c.permille) << c.text;
    }
}

// The model through set, replaced and cleared results, its contract checked
// throughout; a deviation beyond ±3 on red, one of exactly -3 not.
TEST(SummaryModelTest, CellsAndTheirLook) {
    cr::ui::SummaryModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.columnCount(), 0) << "no columns before a result";
    cr::analysis::SummaryRow row;
    row.deviation = {3.5, -3.0, -3.01, 0, 0, 0};
    model.setRows({row, row, row}, QStringLiteral(","));
    row.step = 2;
    model.setRows({row, row}, QStringLiteral(","));
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 25);
    EXPECT_EQ(model.headerData(5, Qt::Horizontal, Qt::DisplayRole), QStringLiteral("Leer R/S z"));
    const auto background = [&model](int column) {
        const QVariant brush = model.index(1, column).data(Qt::BackgroundRole);
        return brush.isValid() ? brush.value<QBrush>().color().name() : QStringLiteral("none");
    };
    for (const auto& [column, colour] : {std::pair{5, "#ffc8c8"}, std::pair{8, "none"},
                                         std::pair{11, "#ffc8c8"}, std::pair{4, "none"}}) {
        EXPECT_EQ(background(column), QLatin1String(colour)) << "column " << column;
    }
    EXPECT_FALSE(model.index(1, 5).data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(model.index(1, 0).data(), QStringLiteral("2"));
    EXPECT_EQ(model.index(1, 11).data(), QStringLiteral("-3,01"));
    EXPECT_EQ(model.index(0, 9).data(Qt::TextAlignmentRole).toInt(),
              static_cast<int>(Qt::AlignRight | Qt::AlignVCenter));
    model.clear();
    EXPECT_EQ(model.rowCount() + model.columnCount(), 0);
}

// The runner reports progress and the end on this thread; destroyed
// mid-work it stops the work and waits for it.
TEST(JobRunnerTest, ReportsEndsAndStopsWhenDestroyed) {
    auto runner = std::make_unique<JobRunner>();
    QSignalSpy progressed(runner.get(), &JobRunner::progressed);
    QSignalSpy ended(runner.get(), &JobRunner::ended);
    runner->start([](cr::analysis::JobProgress& progress) {
        progress.unitsTotal = 40;
        progress.unitsDone = 40;
    });
    runner->waitUntilDone();
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(progressed[0][2].toString(), QStringLiteral("40 von 40 Würfen"));
    EXPECT_FALSE(ended[0][0].toBool()) << "not out of memory";
    auto returned = std::make_shared<std::atomic<bool>>(false);
    runner->start([returned](cr::analysis::JobProgress& progress) {
        while (!progress.stop) {
            std::this_thread::yield();
        }
        *returned = true;
    });
    EXPECT_TRUE(runner->busy());
    runner.reset();
    EXPECT_TRUE(*returned);
}

// Runs far too long for the memory, which the form never asks for, end the
// job with a word to say so, not the program. (AddressSanitizer reports so
// large a request itself instead of failing it; the normal build runs it.)
#ifndef __SANITIZE_ADDRESS__
TEST(AnalysisJobTest, RunsTooLongForTheMemoryAreReported) {
    cr::ui::AnalysisJob job;
    QSignalSpy stopped(&job, &cr::ui::AnalysisJob::stopped);
    cr::analysis::JobInput input;
    input.simulate = true;
    input.runs = 1;
    input.steprate = 1;
    input.runLength = 1000000000; // a billion steps of sums and histograms
    job.run(input);
    job.waitUntilDone();
    ASSERT_EQ(stopped.size(), 1);
    EXPECT_EQ(stopped[0][0].toString(), QStringLiteral("Nicht genug Speicher"));
}
#endif

} // namespace
