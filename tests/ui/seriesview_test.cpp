// SPDX-License-Identifier: GPL-3.0-or-later
// "Serien und Zahlen": the figures of hand-counted permanences in the window,
// the numbers' bars in wheel order with one far off marked, the copied
// table, and the job's series of each source and of their pool.
#include "analysis/job.h"
#include "analysis/runs.h"
#include "ui/analysis/analysiswindow.h"
#include "ui/analysis/seriesview.h"
#include "ui/charts/seriescharts.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace {

using cr::analysis::SeriesStats;

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
}

// Zeros at both ends and inside series. Without them R/S reads R R | S S S | R
// (3 series), M/P is six Manque (no runs test), G/U reads U U | G G G | U.
const QByteArray kHand = "0,1,0,3,2,4,0,6,5,0\r\n";

// The window over the hand-made permanence: each figure counted by hand.
// Runs test of R/S: mean 1 + 2·3·3/6 = 4, variance 2·9·(18 − 6)/(36·5) = 1,2,
// z = −1/√1,2 = −0,913. Longest series in six fair decisions: no RR in
// 21 of 64 sequences (67 %), no SSS in 44 of 64 (31 %), six Manque 1/64.
TEST(SeriesViewTest, FiguresOfAHandCountedPermanence) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTemporaryDir dir;
    const QString hand = writeFile(dir, QStringLiteral("hand.csv"), kHand);
    cr::ui::AnalysisWindow window(nullptr);
    window.setProgramVersion(QStringLiteral("9.8.7"));
    window.addFiles({hand});
    window.setSteprate(1);
    window.setRunLength(5);
    window.calculate();
    window.waitUntilDone();
    cr::ui::SeriesView* view = window.seriesView();
    QTableWidget* table = view->pairTable();
    const std::map<std::pair<int, int>, QString> cells = {
        {{0, 0}, QStringLiteral("6")},        {{1, 0}, QStringLiteral("3")},
        {{2, 0}, QStringLiteral("3")},        {{3, 0}, QStringLiteral("0")},
        {{5, 0}, QStringLiteral("3")},        {{6, 0}, QStringLiteral("4,0")},
        {{7, 0}, QStringLiteral("-0,91")},    {{8, 0}, QStringLiteral("2 (67 %)")},
        {{9, 0}, QStringLiteral("3 (31 %)")}, {{3, 1}, QStringLiteral("+6")},
        {{4, 1}, QStringLiteral("2,45")},     {{5, 1}, QStringLiteral("1")},
        {{7, 1}, QStringLiteral("–")},        {{8, 1}, QStringLiteral("6 (1,6 %)")},
        {{9, 1}, QStringLiteral("–")},        {{1, 2}, QStringLiteral("3")},
        {{5, 2}, QStringLiteral("3")},
    };
    for (const auto& [at, text] : cells) {
        ASSERT_NE(table->item(at.first, at.second), nullptr);
        EXPECT_EQ(table->item(at.first, at.second)->text(), text)
            << "row " << at.first << ", column " << at.second;
    }
    const QList<QLabel*> labels = view->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](const QLabel* label) {
        return !label->isHidden() &&
               label->text() == QStringLiteral("Die Null gehört zu keiner Seite: Sie beendet "
                                               "keine Serie und verlängert keine.");
    }));
    EXPECT_TRUE(view->numbersText()->text().contains(
        QStringLiteral("Zu wenige Würfe für den Test (mindestens 185)")))
        << view->numbersText()->text().toStdString();

    // Red series of one and two spins, the expectation in six fair decisions
    // 2·(1/2)^(k+1) + (6 − k − 1)·(1/2)^(k+2): 1 and 0,44.
    view->choose(0, 1);
    cr::ui::SeriesLengthChart* chart = view->lengthChart();
    chart->resize(500, 260);
    EXPECT_EQ(chart->lengths(), 2);
    const QString tip = chart->toolTipAt(chart->barOf(2, 0).center());
    EXPECT_TRUE(tip.contains(QStringLiteral("Rot: 1 beobachtet, 0,44 erwartet")))
        << tip.toStdString();
    EXPECT_TRUE(chart->barOf(1, 1).isEmpty()) << "Schwarz is not shown";

    // The copy: the window's note, then one line per pair, 15 columns.
    const QStringList lines = view->tableText().split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 8);
    EXPECT_EQ(lines[0].left(37), QStringLiteral("# Auswertung mit Chancenraster 9.8.7,"));
    EXPECT_EQ(lines[1], QStringLiteral("# Quelle: hand.csv ab Wurf 1"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("# Step-Rate 1, Lauflänge 5 Würfe, 2 Läufe")));
    EXPECT_EQ(lines[3].split(QLatin1Char('\t')).size(), 15);
    EXPECT_EQ(lines[4], QStringLiteral("Rot/Schwarz\t6\tRot\t3\tSchwarz\t3\t0\t0,000\t3\t4,00\t"
                                       "-0,913\t2\t0,6719\t3\t0,3125"));
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral("Manque/Passe\t6\tManque\t6\tPasse\t0\t6\t")));
    EXPECT_TRUE(lines[5].contains(QStringLiteral("\t1,00\t\t6\t0,0156")))
        << "no runs test without Passe: " << lines[5].toStdString();
    EXPECT_TRUE(view->tableText().contains(QStringLiteral("\r\n0\t4\t0,27\t")));
    EXPECT_TRUE(view->tableText().contains(QStringLiteral("p-Wert\tZu wenige Würfe für den Test")));
}

// The bars follow the wheel from the zero on, and a number beyond ±3σ
// stands out in paint and tool tip while one at +2,5σ does not.
TEST(SeriesViewTest, NumbersInWheelOrderWithTheFarOnesMarked) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    cr::ui::NumberBarsChart chart;
    chart.resize(900, 300);
    cr::analysis::NumberCounts counts;
    counts.spins = 3700; // n/37 = 100, σ = √(3700 · 36/37²) = 9,86
    counts.counts.fill(100);
    counts.counts[17] = 135; // +3,55σ
    counts.counts[20] = 65;  // −3,55σ
    counts.counts[5] = 125;  // +2,53σ
    counts.counts[0] = 75;
    chart.setCounts(counts);
    const int written[] = {0, 32, 15, 19, 4, 21, 2,  25, 17, 34, 6,  27, 13, 36, 11, 30, 8, 23, 10,
                           5, 24, 16, 33, 1, 20, 14, 31, 9,  22, 18, 29, 7,  28, 12, 35, 3, 26};
    std::vector<int> byPlace(37);
    for (int n = 0; n < 37; ++n) {
        byPlace[static_cast<std::size_t>(n)] = n;
    }
    std::sort(byPlace.begin(), byPlace.end(), [&chart](int a, int b) {
        return chart.barOf(a).center().x() < chart.barOf(b).center().x();
    });
    EXPECT_TRUE(std::equal(byPlace.begin(), byPlace.end(), std::begin(written)));

    const QImage image = chart.grab().toImage();
    const auto outlined = [&](int number) {
        const QRectF bar = chart.barOf(number);
        const QColor c = image.pixelColor(
            QPoint(static_cast<int>(bar.center().x()), static_cast<int>(bar.top() - 1.5)));
        return c == QColor(255, 150, 0);
    };
    for (const auto& [number, marked] :
         std::map<int, bool>{{17, true}, {20, true}, {5, false}, {0, false}}) {
        EXPECT_EQ(chart.standsOut(number), marked) << number;
        EXPECT_EQ(outlined(number), marked) << number;
        EXPECT_EQ(
            chart.toolTipAt(chart.barOf(number).center()).contains(QStringLiteral("Auffällig")),
            marked)
            << number;
    }
    EXPECT_TRUE(
        chart.toolTipAt(chart.barOf(17).center())
            .startsWith(QStringLiteral("Zahl 17 (schwarz): 135-mal, erwartet n/37 = 100,0")));
}

std::vector<std::uint8_t> numbersOf(const QByteArray& text) {
    std::vector<std::uint8_t> numbers;
    for (const QByteArray& field : text.trimmed().split(',')) {
        numbers.push_back(static_cast<std::uint8_t>(field.toInt()));
    }
    return numbers;
}

// Each file is a sequence of its own: the hand permanence ends on Rot and
// the next file starts with Rot, Null, Rot, Rot, which must not join to a
// series of four. A simulation counts the runs the job's simulation draws.
TEST(SeriesViewTest, JobCountsEachSourceAndTheirPool) {
    QTemporaryDir dir;
    cr::analysis::JobInput input;
    input.files = {writeFile(dir, QStringLiteral("a.csv"), kHand).toStdString(),
                   writeFile(dir, QStringLiteral("b.csv"), "1,0,3,5\r\n").toStdString()};
    input.loaded.push_back({"geladen", numbersOf("2,4,0,0,1")});
    input.steprate = 1;
    input.runLength = 3;
    cr::analysis::JobProgress progress;
    const cr::analysis::JobResult result = cr::analysis::runJob(input, progress);
    ASSERT_EQ(result.sources.size(), 3u);
    const auto& pool = result.series.pairs[0];
    EXPECT_EQ(result.series.sequences, 3);
    // Loaded: S S | R; a: R R | S S S | R; b: R R R.
    EXPECT_EQ(pool.decisions, 3 + 6 + 3);
    EXPECT_EQ(pool.byLength[0], (std::vector<long long>{2, 1, 1}));
    EXPECT_EQ(pool.byLength[1], (std::vector<long long>{0, 1, 1}));
    EXPECT_EQ(pool.longest, (std::array<long long, 2>{3, 3}));
    EXPECT_EQ(pool.runs, 2 + 3 + 1);
    EXPECT_EQ(result.series.numbers.spins, 5 + 10 + 4);
    EXPECT_EQ(result.series.numbers.counts[0], 2 + 4 + 1);
    EXPECT_EQ(result.sources[0].series.pairs[0].byLength[1], (std::vector<long long>{0, 1}))
        << "the loaded numbers come first: one Schwarz series of two";
    EXPECT_EQ(result.sources[2].series.pairs[0].longest[0], 3);

    cr::analysis::JobInput simulation;
    simulation.simulate = true;
    simulation.runs = 7;
    simulation.seed = 99;
    simulation.runLength = 200;
    simulation.threads = 2;
    const cr::analysis::JobResult simulated = cr::analysis::runJob(simulation, progress);
    SeriesStats drawn;
    for (long long run = 0; run < 7; ++run) {
        cr::analysis::addSequence(drawn, cr::analysis::simulatedRun(99, run, 200));
    }
    ASSERT_EQ(simulated.sources.size(), 1u);
    for (const SeriesStats* stats : {&simulated.series, &simulated.sources[0].series}) {
        EXPECT_EQ(stats->sequences, 7);
        EXPECT_EQ(stats->numbers.counts, drawn.numbers.counts);
        for (std::size_t pair = 0; pair < 3; ++pair) {
            EXPECT_EQ(stats->pairs[pair].byLength, drawn.pairs[pair].byLength);
            EXPECT_EQ(stats->pairs[pair].runs, drawn.pairs[pair].runs);
        }
    }
}

} // namespace
