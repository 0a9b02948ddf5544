// SPDX-License-Identifier: GPL-3.0-or-later
// "Auswertung": the window over files with a refused one among them and over
// simulations, its entries, its sources across closing and reopening, and
// its parts: the progress text, the table model and the job runner.
#include "analysis/analysisform.h"
#include "analysis/job.h"
#include "analysis/progresstext.h"
#include "analysis/summary.h"
#include "ui/analysis/analysisjob.h"
#include "ui/analysis/analysiswindow.h"
#include "ui/analysis/oddrunspanel.h"
#include "ui/analysis/summarymodel.h"
#include "ui/charts/coursechart.h"
#include "ui/charts/histogramview.h"
#include "ui/main/runmenu.h"
#include "window_fixture.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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

// Answers the next message box with `button` and keeps its text and default.
struct Answer {
    QString text;
    bool defaultNo = false;
};
std::shared_ptr<Answer> answerNext(QMessageBox::StandardButton button) {
    auto answer = std::make_shared<Answer>();
    QTimer::singleShot(0, [answer, button] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                answer->text = box->text();
                answer->defaultNo = box->defaultButton() == box->button(QMessageBox::No);
                box->button(button)->click();
            }
        }
    });
    return answer;
}

QProgressBar* bar(const AnalysisWindow& window) {
    return window.findChild<QProgressBar*>();
}

// The window hands its entries to the job and shows what the library makes
// of the same input (the library's rows equal the tool's: tests/analyse);
// a refused file among good ones is named with the import's lines. The end
// shows as finished, and a late progress report does not undo it; the saved
// table says what it was computed from, without the refused file.
TEST(AnalysisWindowTest, TableOfTheEntriesAndARefusedFileIsNamed) {
    QTemporaryDir dir;
    const QString first = writeFile(dir, QStringLiteral("a.csv"), table(7, 2000));
    const QString bad = writeFile(dir, QStringLiteral("schlecht.csv"), "3,4\r\n5,-1\r\n");
    const QString second = writeFile(dir, QStringLiteral("b.csv"), table(11, 1500));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    AnalysisWindow window(nullptr);
    window.setProgramVersion(QStringLiteral("9.8.7"));
    window.addFiles({first, bad, second});
    window.setSteprate(5);
    window.setRunLength(45);
    window.calculate();
    window.waitUntilDone();
    ASSERT_FALSE(window.busy());
    EXPECT_TRUE(window.progressText().startsWith(QStringLiteral("Fertig: 77 Läufe in ")))
        << window.progressText().toStdString();
    EXPECT_EQ(bar(window)->value(), bar(window)->maximum());
    emit window.job()->progressed(910, 1000, QStringLiteral("910 von 1.000 Würfen, noch 1 s"));
    EXPECT_TRUE(window.progressText().startsWith(QStringLiteral("Fertig: ")));
    EXPECT_EQ(bar(window)->value(), bar(window)->maximum());
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
    const QString path = dir.filePath(QStringLiteral("auswertung.tsv"));
    ASSERT_TRUE(window.saveTable(path));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(saved.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("# Auswertung mit Chancenraster 9.8.7, "
                                                   "berechnet am ")));
    EXPECT_EQ(lines.mid(1, 3).join(QLatin1Char('|')).toStdString(),
              std::string("# Quelle: a.csv ab Wurf 1|# Quelle: b.csv ab Wurf 1|"
                          "# Step-Rate 5, Lauflänge 45 Würfe, 77 Läufe"));
    EXPECT_EQ(lines.mid(4).join(QStringLiteral("\r\n")).toStdString(),
              cr::analysis::summaryTableText(rows, ","));
    ASSERT_EQ(window.table()->model()->rowCount(), 9);
    EXPECT_EQ(window.table()->model()->index(8, 0).data(), QStringLiteral("9"));
    EXPECT_TRUE(window.caption().endsWith(
        QStringLiteral("Unter den 54 Abweichungen z erwartet man bei reinem Zufall etwa 2 "
                       "jenseits von ±2; hier sind es %1. Erst viel mehr deutet auf ein Muster.")
            .arg(cr::analysis::beyondTwo(rows))))
        << window.caption().toStdString();
    // The chart shows the means per step; charts save as PNG and as SVG.
    ASSERT_EQ(window.chart()->runs().steps.size(), 9u);
    EXPECT_EQ(window.chart()->runs().steps[1].mean[4], rows[1].mean[4]);
    EXPECT_EQ(window.chart()->runs().steps[8].sd[2], rows[8].sd[2]);
    const QString png = dir.filePath(QStringLiteral("chart.png"));
    const QString svg = dir.filePath(QStringLiteral("histogram.svg"));
    ASSERT_TRUE(window.saveChart(png));
    ASSERT_TRUE(window.saveHistogram(svg));
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

// A name without an extension gets the chosen filter's.
TEST(AnalysisWindowTest, SavedNamesGetTheFiltersExtension) {
    for (const auto& [path, filter, saved] :
         {std::tuple{"/d/auswertung", "TSV (*.tsv)", "/d/auswertung.tsv"},
          std::tuple{"/d/auswertung.txt", "TSV (*.tsv)", "/d/auswertung.txt"},
          std::tuple{"/d.x/bild", "SVG (*.svg)", "/d.x/bild.svg"},
          std::tuple{"/d/bild", "PNG (*.png)", "/d/bild.png"}}) {
        EXPECT_EQ(cr::ui::withFilterSuffix(QString::fromUtf8(path), QString::fromUtf8(filter)),
                  QString::fromUtf8(saved));
    }
}

// A job that would take long is asked about first ("Nein" starts nothing);
// closing the window (Escape) cancels it, and the window then says so with
// the bar at no percentage; the results shown before stay.
TEST(AnalysisWindowTest, ClosingCancelsALongSimulationAndKeepsTheLastResults) {
    AnalysisWindow window(nullptr);
    window.show();
    QApplication::setActiveWindow(&window);
    window.chooseSimulation(20, 5);
    window.setSteprate(4);
    window.setRunLength(40);
    window.calculate();
    window.waitUntilDone();
    ASSERT_EQ(window.runs(), 20);
    window.chooseSimulation(10000000, 5);
    window.setRunLength(100000);
    const auto declined = answerNext(QMessageBox::No);
    window.calculate();
    EXPECT_TRUE(declined->text.startsWith(QStringLiteral("Die Berechnung braucht voraussichtlich")))
        << declined->text.toStdString();
    EXPECT_TRUE(declined->defaultNo);
    EXPECT_FALSE(window.busy());
    answerNext(QMessageBox::Yes);
    window.calculate();
    ASSERT_TRUE(window.busy());
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    const bool stopped = window.job()->stopRequested();
    window.cancel(); // never wait for hours
    window.waitUntilDone();
    EXPECT_TRUE(stopped) << "closing the window cancels its job";
    EXPECT_FALSE(window.busy());
    EXPECT_TRUE(window.progressText().startsWith(QStringLiteral("Abgebrochen nach ")));
    EXPECT_TRUE(
        window.progressText().endsWith(QStringLiteral("; gezeigt bleibt die vorige Berechnung.")))
        << window.progressText().toStdString();
    EXPECT_LT(bar(window)->value(), bar(window)->minimum()) << "no percentage";
    EXPECT_EQ(window.runs(), 20);
    EXPECT_EQ(window.rows().size(), 10u);
}

// Every entry the job cannot take is refused in a sentence, and "Berechnen"
// does not start; typed digits are never swallowed; the cost line follows
// the entries.
TEST(AnalysisWindowTest, EntriesAreRefusedInASentence) {
    AnalysisWindow window(nullptr);
    EXPECT_EQ(window.lengthBox()->text(), QStringLiteral("370"));
    EXPECT_EQ(window.runsBox()->text(), QStringLiteral("100000"));
    window.setSteprate(5);
    EXPECT_EQ(window.lengthBox()->text(), QStringLiteral("50")) << "ten steps";
    window.chooseSimulation(10000000, 1);
    window.setRunLength(100000);
    EXPECT_EQ(window.entryRefusal(), QString());
    EXPECT_TRUE(window.costText().startsWith(QStringLiteral("Aufwand: 1,0 Bio. Würfe, etwa ")))
        << window.costText().toStdString();
    window.runsBox()->clear();
    QTest::keyClicks(window.runsBox(), QStringLiteral("99999999"));
    EXPECT_EQ(window.runsBox()->text(), QStringLiteral("99999999"));
    const struct {
        bool simulate;
        const char* runs;
        const char* seed;
        const char* length;
        const char* refusal;
    } cases[] = {
        {true, "99999999", "1", "370",
         "Die Zahl der Läufe \u201e99999999\u201c ist keine ganze Zahl von 1 bis 10.000.000 (nur "
         "Ziffern)."},
        {true, "10", "abc-999", "370",
         "Der Seed \u201eabc-999\u201c ist keine ganze Zahl von 0 bis 18.446.744.073.709.551.615 "
         "(nur Ziffern)."},
        {true, "10", "1", "4",
         "Ein Lauf von 4 Würfen ist kürzer als ein Step von 5 Würfen: Es käme kein Step "
         "zustande."},
        {true, "10", "1", "100001",
         "Die Lauflänge \u201e100001\u201c ist keine ganze Zahl von 1 bis 100.000 Würfen (nur "
         "Ziffern)."},
        {false, "10", "abc", "370",
         "Es ist keine Quelle gewählt: Bitte eine Datei hinzufügen und ankreuzen oder "
         "\u201eSimulation\u201c wählen."},
    };
    for (const auto& c : cases) {
        window.chooseSimulation(10, 1);
        window.runsBox()->setText(QString::fromUtf8(c.runs));
        window.seedBox()->setText(QString::fromUtf8(c.seed));
        window.lengthBox()->setText(QString::fromUtf8(c.length));
        for (QRadioButton* source : window.findChildren<QRadioButton*>()) {
            source->setChecked((source->text() == QStringLiteral("Simulation")) == c.simulate);
        }
        EXPECT_EQ(window.entryRefusal().toStdString(), c.refusal);
        EXPECT_EQ(window.costText(), QString());
        window.calculate();
        EXPECT_FALSE(window.busy()) << c.refusal;
    }
}

// The step rate "Auswertung" opens with: the step-rate box's, else the last
// run's, else 37.
TEST(AnalysisForm, OfferedSteprate) {
    for (const auto& [box, run, offered] :
         {std::tuple{0, 0, 37}, std::tuple{0, 12, 12}, std::tuple{5, 12, 5}, std::tuple{5, 0, 5}}) {
        EXPECT_EQ(cr::analysis::offeredSteprate(box, run), offered) << box << ", " << run;
    }
}

// "Auswertung" opens with the step rate the box holds, not the last run's,
// and offers the main window's permanence by its file and first spin. The
// sources stay as the user left them across closing (Ctrl+W) and reopening;
// another permanence takes the entry's place and tick. Ticked beside its
// own file, the loaded permanence would count twice: "Berechnen" asks, "Nein"
// first. Delete removes a source.
using AnalysisOpening = cr::testing::WindowTest;
TEST_F(AnalysisOpening, OffersTheLoadedPermanenceAndKeepsTheSources) {
    startRun("100", "4");
    typeInto("textwiederhol", QStringLiteral("6"));
    QAction* open = window->actions()[4];
    open->trigger();
    auto* analysis = window->findChild<AnalysisWindow*>();
    ASSERT_NE(analysis, nullptr);
    EXPECT_EQ(analysis->steprateBox()->value(), 6);
    EXPECT_EQ(analysis->sources()->count(), 0) << "a drawn run is no permanence";
    analysis->close();
    abbruch();
    QTemporaryDir dir;
    const QString t1 = writeFile(dir, QStringLiteral("t1.csv"), table(7, 10100));
    const QString t2 = writeFile(dir, QStringLiteral("t2.csv"), table(11, 300));
    window->menu().files().open(t1, 100);
    open->trigger();
    QListWidget* list = analysis->sources();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(),
              QStringLiteral("t1.csv ab Wurf 100 (im Hauptfenster geladen)"));
    EXPECT_EQ(analysis->saveFolder(), QFileInfo(t1).absolutePath());
    list->item(0)->setCheckState(Qt::Unchecked);
    analysis->addFiles({t1, t2});
    analysis->steprateBox()->setValue(9);
    QApplication::setActiveWindow(analysis);
    QTest::keyClick(analysis, Qt::Key_W, Qt::ControlModifier);
    ASSERT_FALSE(analysis->isVisible());
    open->trigger();
    const auto shown = [list] {
        QStringList items;
        for (int i = 0; i < list->count(); ++i) {
            items << list->item(i)->text() + (list->item(i)->checkState() == Qt::Checked
                                                  ? QStringLiteral(" +")
                                                  : QStringLiteral(" -"));
        }
        return items.join(QLatin1Char('|'));
    };
    EXPECT_EQ(shown(),
              QStringLiteral("t1.csv ab Wurf 100 (im Hauptfenster geladen) -|t1.csv +|t2.csv +"));
    EXPECT_EQ(analysis->steprateBox()->value(), 9);
    list->item(0)->setCheckState(Qt::Checked);
    const auto asked = answerNext(QMessageBox::No);
    analysis->calculate();
    EXPECT_FALSE(analysis->busy());
    EXPECT_TRUE(asked->defaultNo);
    EXPECT_TRUE(asked->text.contains(QStringLiteral("doppelt gezählt")))
        << asked->text.toStdString();
    list->item(0)->setCheckState(Qt::Unchecked);
    abbruch();
    window->menu().files().open(t2);
    open->trigger();
    EXPECT_EQ(shown(),
              QStringLiteral("t2.csv ab Wurf 1 (im Hauptfenster geladen) -|t1.csv +|t2.csv +"));
    QApplication::setActiveWindow(analysis);
    list->setFocus();
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(shown(), QStringLiteral("t2.csv ab Wurf 1 (im Hauptfenster geladen) -|t2.csv +"));
}

// Each table alone beside the pool, and the run farthest from the exact
// mean replayed in the main window from its first spin: the loaded
// permanence (t1 from spin 100) counts from that spin of its file, and the
// run under way is given up only when the user confirms it.
TEST_F(AnalysisOpening, EachSourceAloneAndAnOddRunReplayed) {
    QTemporaryDir dir;
    const QString t1 = writeFile(dir, QStringLiteral("t1.csv"), table(7, 10100));
    const QString t2 = writeFile(dir, QStringLiteral("t2.csv"), table(11, 400));
    window->menu().files().open(t1, 100);
    window->actions()[4]->trigger();
    auto* analysis = window->findChild<AnalysisWindow*>();
    ASSERT_NE(analysis, nullptr);
    analysis->addFiles({t2});
    analysis->setSteprate(4);
    analysis->setRunLength(40);
    analysis->calculate();
    analysis->waitUntilDone();
    // The loaded spins from spin 100 in runs of 40, and t2's 400 spins.
    const auto loaded = static_cast<long long>(window->run().state().permanzahl);
    ASSERT_GT(loaded, 9000);
    ASSERT_EQ(analysis->runs(), loaded / 40 + 10);
    ASSERT_EQ(analysis->sourceChoice()->count(), 3);
    EXPECT_EQ(analysis->sourceChoice()->itemText(2), QStringLiteral("t2.csv"));
    analysis->showSource(2);
    cr::analysis::JobInput alone;
    alone.files = {t2.toStdString()};
    alone.steprate = 4;
    alone.runLength = 40;
    cr::analysis::JobProgress progress;
    EXPECT_TRUE(
        analysis->tableText().endsWith(QString::fromStdString(cr::analysis::summaryTableText(
            cr::analysis::summaryRows(cr::analysis::runJob(alone, progress).stats, 4), ","))));
    EXPECT_TRUE(analysis->tableText().contains(QStringLiteral("t2.csv")));
    EXPECT_FALSE(analysis->tableText().contains(QStringLiteral("t1.csv")));
    analysis->showCounterBySource(3);
    EXPECT_EQ(analysis->chart()->runs().steps.size(), 10u);
    EXPECT_FALSE(analysis->findChild<QCheckBox*>()->isEnabled()) << "z lies either side of 0";
    analysis->showCounterBySource(-1);
    EXPECT_TRUE(analysis->findChild<QCheckBox*>()->isEnabled());

    cr::ui::OddRunsPanel* odd = analysis->oddRuns();
    odd->search(3, 0);
    odd->waitUntilDone();
    ASSERT_GT(odd->table()->rowCount(), 0);
    const QString first = odd->table()->item(0, 1)->text();
    const bool fromT1 = odd->table()->item(0, 0)->text().startsWith(QStringLiteral("t1.csv"));
    const long long spin = QLocale().toLongLong(first);
    typeInto("textwiederhol", QStringLiteral("4")); // the permanence's run under way
    find<QPushButton>("okstart")->click();
    ASSERT_TRUE(window->run().runStarted());
    const auto declined = answerNext(QMessageBox::No);
    odd->replayRow(0);
    EXPECT_TRUE(declined->text.startsWith(QStringLiteral("Abbruch")))
        << declined->text.toStdString();
    EXPECT_TRUE(window->run().runStarted());
    answerNext(QMessageBox::Yes);
    odd->replayRow(0);
    ASSERT_FALSE(window->run().runStarted());
    // The run's first number is spin `spin` of its file, as table() wrote it.
    const int seed = fromT1 ? 7 : 11;
    const long long k = spin - 1;
    EXPECT_EQ(window->run().state().permanenz[1],
              static_cast<double>((k * seed + k / 37 + seed) % 37))
        << first.toStdString();
    EXPECT_NE(window->run().origin().find(" ab Wurf " + std::to_string(spin)), std::string::npos)
        << window->run().origin();
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
    for (int column = 0; column < model.columnCount(); ++column) {
        EXPECT_FALSE(model.headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty())
            << "column " << column;
    }
    EXPECT_EQ(model.headerData(21, Qt::Horizontal, Qt::ToolTipRole).toString().toStdString(),
              std::string("<p>Anteil der Läufe, in denen nach diesem Step mindestens ein Feld "
                          "Rot/Schwarz noch nie getroffen wurde.</p>"));
    EXPECT_EQ(
        model.headerData(12, Qt::Horizontal, Qt::ToolTipRole).toString().toStdString(),
        std::string("<p>Mittel von \u201e1x (rot) R/S\u201c über alle Läufe: die Zahl der Felder "
                    "Rot/Schwarz, die nur im ersten Step getroffen wurden.</p>"));
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
