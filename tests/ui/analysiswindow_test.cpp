// SPDX-License-Identifier: GPL-3.0-or-later
// "Auswertung": the window's table against the analysis tool's JSON for the
// same files, a refused file among good ones, and "Abbrechen".
#include "ui/analysis/analysiswindow.h"
#include "ui/charts/coursechart.h"
#include "ui/charts/histogramview.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using cr::ui::AnalysisWindow;

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

QJsonArray toolSteps(const QStringList& files) {
    QProcess tool;
    tool.start(QStringLiteral(CR_ANALYSE_TOOL),
               QStringList{QStringLiteral("--steprate"), QStringLiteral("5"),
                           QStringLiteral("--runs-of"), QStringLiteral("45"),
                           QStringLiteral("--pool"), QStringLiteral("--json")} +
                   files);
    EXPECT_TRUE(tool.waitForFinished(60000));
    // One table per file, then the pooled one.
    const QList<QByteArray> lines = tool.readAllStandardOutput().trimmed().split('\n');
    const QJsonObject pooled = QJsonDocument::fromJson(lines.back()).object();
    EXPECT_EQ(pooled[QStringLiteral("files")].toArray().size(), files.size());
    return pooled[QStringLiteral("steps")].toArray();
}

TEST(AnalysisWindowTest, TableEqualsTheToolsAndARefusedFileIsNamed) {
    QTemporaryDir dir;
    const QString first = writeFile(dir, QStringLiteral("a.csv"), table(7, 2000));
    const QString bad = writeFile(dir, QStringLiteral("schlecht.csv"), "3,4\r\n5,-1\r\n");
    const QString second = writeFile(dir, QStringLiteral("b.csv"), table(11, 1500));
    AnalysisWindow window(nullptr);
    window.addFiles({first, bad, second});
    window.setSteprate(5);
    EXPECT_EQ(window.rows().size(), 0u);
    window.setRunLength(45);
    window.calculate();
    window.waitUntilDone();
    ASSERT_FALSE(window.busy());
    EXPECT_EQ(window.refusalText(), QStringLiteral("schlecht.csv:\n Datei nicht übernommen:\n"
                                                   "  Wurf 4 lautet -1,\n"
                                                   "  erlaubt sind 0 bis 36."));
    EXPECT_EQ(window.runs(), 2000 / 45 + 1500 / 45);
    const QJsonArray steps = toolSteps({first, second});
    ASSERT_EQ(static_cast<std::size_t>(steps.size()), window.rows().size());
    ASSERT_EQ(window.table()->rowCount(), steps.size());
    for (int k = 0; k < steps.size(); ++k) {
        const QJsonObject step = steps[k].toObject();
        const cr::analysis::SummaryRow& row = window.rows()[static_cast<std::size_t>(k)];
        EXPECT_EQ(row.step, step[QStringLiteral("step")].toInt());
        EXPECT_EQ(row.expected, step[QStringLiteral("expected")].toDouble());
        EXPECT_EQ(row.sigma, step[QStringLiteral("sigma")].toDouble());
        for (std::size_t c = 0; c < 6; ++c) {
            const QJsonArray pair = step[c < 3 ? QStringLiteral("leer") : QStringLiteral("einmal")]
                                        .toArray()[static_cast<int>(c % 3)]
                                        .toArray();
            EXPECT_EQ(row.mean[c], pair[0].toDouble()) << "step " << k + 1 << " counter " << c;
            EXPECT_EQ(row.sd[c], pair[1].toDouble()) << "step " << k + 1 << " counter " << c;
            EXPECT_EQ(row.deviation[c], pair[2].toDouble()) << "step " << k + 1 << " counter " << c;
        }
        const QJsonArray shares = step[QStringLiteral("empty_share")].toArray();
        ASSERT_EQ(shares.size(), 3);
        for (std::size_t p = 0; p < 3; ++p) {
            EXPECT_EQ(row.emptyShare[p], shares[static_cast<int>(p)].toDouble())
                << "step " << k + 1;
        }
        EXPECT_EQ(row.emptyShareExact, step[QStringLiteral("empty_share_exact")].toDouble());
    }
    // The chart shows a point per step; it saves as PNG and as SVG.
    EXPECT_EQ(window.chart()->steps().size(), window.rows().size());
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    const QString svg = dir.filePath(QStringLiteral("chart.svg"));
    ASSERT_TRUE(window.saveChart(png));
    ASSERT_TRUE(window.saveChart(svg));
    EXPECT_EQ(QImage(png).size(), window.chart()->size());
    EXPECT_FALSE(window.chart()->size().isEmpty());
    QFile svgFile(svg);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svgFile.readAll().contains("<svg"));
    // The histogram of a chosen step and counter, against the exact law.
    window.histogram()->choose(2, 4);
    const QString histogram = window.histogram()->text();
    EXPECT_TRUE(histogram.contains(QStringLiteral("beobachtet"))) << histogram.toStdString();
    EXPECT_TRUE(histogram.contains(QStringLiteral("Freiheitsgraden, p = ")))
        << histogram.toStdString();
    // The table shows the rows, and copies them with a header line.
    EXPECT_EQ(window.table()->item(0, 0)->text(), QStringLiteral("1"));
    EXPECT_EQ(window.tableText().count(QStringLiteral("\r\n")), steps.size() + 1);
}

// While the files are read their spins are not counted yet; once the job is
// done the count shows, even when no file gave a spin.
TEST(AnalysisWindowTest, ProgressTellsOfReadingUntilTheSpinsAreCounted) {
    QTemporaryDir dir;
    AnalysisWindow window(nullptr);
    window.addFiles({writeFile(dir, QStringLiteral("schlecht.csv"), "3,99\r\n")});
    window.calculate();
    window.waitUntilDone();
    EXPECT_EQ(window.progressText(), QStringLiteral("0 von 0 Würfen"));
    EXPECT_TRUE(window.refusalText().contains(QStringLiteral("Wurf 2 lautet 99,")));
}

// "Abbrechen" ends a simulation that would run for hours; the window is
// ready for the next one and shows no half-done results.
TEST(AnalysisWindowTest, CancelStopsALongSimulation) {
    AnalysisWindow window(nullptr);
    window.chooseSimulation(100000000, 5);
    window.setSteprate(37);
    window.setRunLength(3700);
    window.calculate();
    EXPECT_TRUE(window.busy());
    window.cancel();
    window.waitUntilDone();
    EXPECT_FALSE(window.busy());
    EXPECT_EQ(window.runs(), 0);
    EXPECT_TRUE(window.rows().empty());
}

// Runs far too long for the memory end the work with a word to say so, not
// with the end of the program. (AddressSanitizer reports so large a request
// itself instead of failing it; the normal build runs the check.)
#ifndef __SANITIZE_ADDRESS__
TEST(AnalysisWindowTest, RunsTooLongForTheMemoryAreReported) {
    AnalysisWindow window(nullptr);
    window.chooseSimulation(1, 5);
    window.setSteprate(1);
    window.setRunLength(1000000000); // a billion steps of sums and histograms
    window.calculate();
    window.waitUntilDone();
    EXPECT_FALSE(window.busy());
    EXPECT_EQ(window.progressText(), QStringLiteral("Nicht genug Speicher"));
    EXPECT_TRUE(window.rows().empty());
}
#endif

} // namespace
