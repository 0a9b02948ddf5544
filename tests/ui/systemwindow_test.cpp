// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/runs.h"
#include "analysis/system.h"
#include "ui/system/systemcharts.h"
#include "ui/system/systemwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using cr::analysis::Marsch;
using cr::analysis::Progression;
using cr::analysis::SystemRules;
using cr::ui::SystemWindow;

namespace {

// A simulation the window computes at once, leer with martingale.
void prepareSimulation(SystemWindow& window, long long sessions, long long spins) {
    SystemRules rules;
    rules.marsch = Marsch::Leer;
    rules.progression = Progression::Martingale;
    rules.capital = 200;
    rules.steprate = 4;
    window.setRules(rules);
    window.chooseSimulation(sessions, 7);
    window.lengthBox()->setText(QString::number(spins));
}

} // namespace

// Every entry the rules cannot take is refused in a sentence, and
// "Berechnen" then starts nothing.
TEST(SystemWindowTest, BadEntriesAreRefusedAndStartNothing) {
    struct Case {
        const char* what;
        QLineEdit* (SystemWindow::*box)() const;
        const char* text;
        const char* refusal;
    };
    const Case cases[] = {
        {"unit zero", &SystemWindow::unitBox, "0", "Der Einsatz muss eine ganze Zahl von 1 bis"},
        {"unit with a sign", &SystemWindow::unitBox, "+5", "Der Einsatz muss"},
        {"limit too large", &SystemWindow::limitBox, "1000000000001", "Das Limit muss"},
        {"limit below the unit", &SystemWindow::limitBox, "0", "Das Limit muss"},
        {"capital negative", &SystemWindow::capitalBox, "-1", "Das Kapital muss"},
        {"step rate too large", &SystemWindow::steprateBox, "16384", "Die Step-Rate muss"},
        {"session length not a number", &SystemWindow::lengthBox, "3x", "Die Zahl der Würfe"},
        {"no session length to simulate", &SystemWindow::lengthBox, "", "Für eine Simulation"},
        {"no sessions", &SystemWindow::sessionsBox, "0", "Die Zahl der Sitzungen muss"},
        {"seed with letters", &SystemWindow::seedBox, "12a", "Der Seed"},
    };
    for (const Case& c : cases) {
        SystemWindow window(nullptr);
        prepareSimulation(window, 10, 37);
        ASSERT_TRUE(window.entryRefusal().isEmpty()) << window.entryRefusal().toStdString();
        (window.*c.box)()->setText(QString::fromUtf8(c.text));
        window.calculate();
        EXPECT_TRUE(window.refusalText().startsWith(QString::fromUtf8(c.refusal)))
            << c.what << ": " << window.refusalText().toStdString();
        EXPECT_FALSE(window.busy()) << c.what;
        EXPECT_EQ(window.outcome(), nullptr) << c.what;
    }
    SystemWindow window(nullptr);
    prepareSimulation(window, 10, 37);
    window.unitBox()->setText(QStringLiteral("50"));
    window.limitBox()->setText(QStringLiteral("40"));
    EXPECT_TRUE(
        window.refusalText().startsWith(QStringLiteral("Das Limit liegt unter dem Einsatz")))
        << window.refusalText().toStdString();
    window.limitBox()->setText(QStringLiteral("1000"));
    for (int pair = 0; pair < 3; ++pair) {
        window.pairBox(pair)->setChecked(false);
    }
    EXPECT_TRUE(window.refusalText().startsWith(QStringLiteral("Es ist kein Paar gewählt")));
    window.marschChoice()->setCurrentIndex(window.marschChoice()->findData("rot"));
    EXPECT_TRUE(window.refusalText().isEmpty()) << "a fixed chance plays its own pair";
}

// The window's figures are the library's: the same sessions drawn for the
// seed, the same totals, one histogram entry a session, and the curve's
// session replayed to the same result.
TEST(SystemWindowTest, SimulationGivesTheLibrarysFigures) {
    SystemWindow window(nullptr);
    prepareSimulation(window, 600, 40); // more than two blocks of sessions
    window.calculate();
    window.waitUntilDone();
    ASSERT_NE(window.outcome(), nullptr) << window.refusalText().toStdString();
    const auto rules = window.rules();
    ASSERT_TRUE(rules);
    const cr::analysis::SystemTotals expected = cr::analysis::simulateSystem(*rules, 40, 600, 7, 2);
    const cr::analysis::SystemTotals& shown = window.outcome()->lines.at(0).totals;
    EXPECT_EQ(shown.sessions, 600);
    EXPECT_EQ(shown.bets, expected.bets);
    EXPECT_EQ(shown.turnover, expected.turnover);
    EXPECT_EQ(shown.result, expected.result);
    EXPECT_EQ(shown.won, expected.won);
    EXPECT_EQ(shown.ruined, expected.ruined);
    EXPECT_EQ(shown.maxStake, expected.maxStake);
    EXPECT_DOUBLE_EQ(shown.variance, expected.variance);
    EXPECT_EQ(window.outcome()->sessionResults.size(), 600u);
    const auto firstRun = cr::analysis::playSession(*rules, cr::analysis::simulatedRun(7, 0, 40));
    EXPECT_EQ(window.outcome()->first.result, firstRun.result);
    EXPECT_EQ(window.outcome()->trace.balance.size(), static_cast<std::size_t>(firstRun.spins));
    EXPECT_TRUE(window.betLogText().startsWith(
        QStringLiteral("spin\tnumber\tpair\tside\tstake\treturn\tbalance\n")));
}

// Answers the question the next event loop shows with BUTTON, keeping its text.
void answerNextQuestion(QMessageBox::StandardButton button, QString& text) {
    QTimer::singleShot(0, [button, &text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr) << "no question shown";
        text = box->text();
        box->button(button)->click();
    });
}

// A computation of hours is named before it starts and asked for, "Nein"
// starting nothing; closing the window (Escape) cancels it, and the result
// shown before stays.
TEST(SystemWindowTest, LongWorkIsAskedForAndClosingCancelsIt) {
    SystemWindow window(nullptr);
    window.show();
    prepareSimulation(window, 20, 40);
    EXPECT_EQ(window.costText(),
              QStringLiteral("Aufwand: 800 Würfe, unter 1 s auf 1 Kern, unter 1 MB Speicher"));
    window.calculate(); // no question for a moment's work
    window.waitUntilDone();
    ASSERT_NE(window.outcome(), nullptr);
    const auto* before = window.outcome();
    prepareSimulation(window, 1'000'000'000, 100'000);
    // 10^14 spins at 45 ns: 52 days; 8 GB of session results.
    EXPECT_EQ(window.costText(), QStringLiteral("Aufwand: 100 Bio. Würfe, etwa 52 Tage auf 1 "
                                                "Kern, 8,0 GB Speicher"));
    QString question;
    answerNextQuestion(QMessageBox::No, question);
    window.calculate();
    EXPECT_TRUE(question.startsWith(QStringLiteral("Die Berechnung braucht voraussichtlich: "
                                                   "Aufwand: 100 Bio. Würfe")))
        << question.toStdString();
    EXPECT_FALSE(window.busy());
    answerNextQuestion(QMessageBox::Yes, question);
    window.calculate();
    ASSERT_TRUE(window.busy());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    window.waitUntilDone(); // hangs unless the close was heard
    EXPECT_FALSE(window.busy());
    EXPECT_EQ(window.outcome(), before);
    EXPECT_EQ(window.outcome()->lines.at(0).totals.sessions, 20);
}

namespace {

// The balance chart names every colour it draws in its legend: the line of
// the balance, the expectation, the band and the stakes' bars.
TEST(SystemChartTest, LegendNamesEveryColour) {
    cr::analysis::SessionTrace trace;
    trace.balance = {1, 0, 2, -2};
    trace.expected = {-0.02, -0.04, -0.06, -0.08};
    trace.variance = {1, 2, 3, 4};
    trace.stakes = {1, 2, 1, 4};
    cr::ui::BalanceChart chart;
    chart.resize(640, 320);
    chart.setSession(trace);
    const QImage image = chart.grab().toImage();
    const QRectF legend = chart.legendRect();
    // Colours as the chart style writes them: balance blue, stakes orange.
    const auto seen = [&](QRgb colour) {
        for (int x = static_cast<int>(legend.left()); x < legend.right(); ++x) {
            for (int y = static_cast<int>(legend.top()); y < legend.bottom(); ++y) {
                if (image.pixel(x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(seen(qRgb(30, 80, 210))) << "Kontostand";
    EXPECT_TRUE(seen(qRgb(235, 125, 0))) << "Einsatz";
    EXPECT_TRUE(seen(qRgb(80, 80, 80))) << "Erwartung";
}

// The histogram's classes begin on round values, each result in the class
// that holds it: whole units for a few units, fifties for a thousand.
TEST(SystemChartTest, HistogramClassesAreRound) {
    cr::ui::SessionHistogram histogram;
    histogram.setResults({-3.5, 0, 2, 10});
    // 13.5 units over about 30 classes: half units from -3.5 to 10.5.
    auto classes = histogram.classes();
    ASSERT_EQ(classes.size(), 28u);
    EXPECT_EQ(classes.front().from, -3.5);
    EXPECT_EQ(classes.back().to, 10.5);
    EXPECT_EQ(classes.front().count, 1);
    EXPECT_EQ(classes[7].from, 0.0);
    EXPECT_EQ(classes[7].count, 1);
    EXPECT_EQ(classes.back().count, 1);
    histogram.setResults({-1000, -999.5, 37, 49.5});
    classes = histogram.classes();
    ASSERT_EQ(classes.size(), 21u); // fifties from -1000 to 50
    EXPECT_EQ(classes.front().count, 2);
    EXPECT_EQ(classes.back().from, 0.0);
    EXPECT_EQ(classes.back().count, 2);
}

} // namespace
