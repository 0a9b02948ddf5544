// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/charts/coursechart.h"
#include "ui/charts/coursewindow.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using cr::ui::CourseChart;
using cr::ui::CourseWindow;

class CourseChartTest : public cr::testing::WindowTest {
protected:
    void steps(int count) {
        for (int i = 0; i < count; ++i) {
            find<QPushButton>("okstep")->click();
        }
    }
    // Ctrl+G, typed wherever the focus is.
    CourseChart* openChart() {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : window.get(), Qt::Key_G, Qt::ControlModifier);
        auto* course = window->findChild<CourseWindow*>();
        EXPECT_TRUE(course && course->isVisible());
        return course ? &course->chart() : nullptr;
    }
};

// The entries sit in the context menu of the window and of the grid. The
// chart follows the run step by step and starts afresh with it; saving the
// steps waits for a completed step.
TEST_F(CourseChartTest, FollowsTheRunAndSavingWaitsForACompletedStep) {
    QStringList entries;
    for (const QAction* a : window->actions()) {
        entries << a->text() + QLatin1Char('|') + a->shortcut().toString();
    }
    EXPECT_EQ(entries,
              (QStringList{QStringLiteral("Permanenz öffnen \u2026|Ctrl+O"),
                           QStringLiteral("Lauf als Permanenz speichern \u2026|Ctrl+S"),
                           QStringLiteral("Verlauf anzeigen|Ctrl+G"),
                           QStringLiteral("Alle Steps speichern \u2026|"),
                           QStringLiteral("Auswertung \u2026|Ctrl+E"),
                           QStringLiteral("Systemtest \u2026|Ctrl+T"),
                           QStringLiteral("Live-Eingabe \u2026|Ctrl+L"),
                           QStringLiteral("Zurück|Ctrl+Z"), QStringLiteral("Wiederholen|Ctrl+Y")}));
    for (QWidget* target : {static_cast<QWidget*>(window.get()), find("tabelle2")}) {
        EXPECT_EQ(target->contextMenuPolicy(), Qt::ActionsContextMenu);
        EXPECT_EQ(target->actions(), window->actions());
    }
    QAction* save = window->actions()[3];
    startRun("9999", "4");
    find<QPushButton>("okweiter")->click();
    EXPECT_FALSE(save->isEnabled()) << "a step begun is not a step ended";
    steps(2);
    CourseChart* chart = openChart();
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->steps().size(), 2u) << "steps before the chart opened are shown";
    EXPECT_EQ(chart->steprate(), 4);

    steps(18); // past the fifteen steps the export keeps
    ASSERT_EQ(chart->steps().size(), 20u);
    EXPECT_EQ(chart->steps().back().step, 20);
    find<QPushButton>("okweiter")->click();
    EXPECT_EQ(chart->steps().size(), 20u);

    find<QPushButton>("okreset")->click();
    EXPECT_TRUE(chart->steps().empty());
    steps(3);
    EXPECT_EQ(chart->steps().size(), 3u);
    EXPECT_EQ(chart->steps().front().step, 1);

    abbruch();
    EXPECT_TRUE(chart->steps().empty());
    startRun("9999", "5");
    steps(1);
    ASSERT_EQ(chart->steps().size(), 1u);
    EXPECT_EQ(chart->steprate(), 5);
}

TEST_F(CourseChartTest, LogarithmicSwitchSpacesDecadesEvenly) {
    startRun("9999", "37");
    steps(12);
    CourseChart* chart = openChart();
    ASSERT_NE(chart, nullptr);
    auto* course = window->findChild<CourseWindow*>();
    EXPECT_EQ(course->windowTitle(), QStringLiteral("Verlauf"));
    EXPECT_EQ(course->logSwitch().text(), QStringLiteral("Logarithmische Achse"));

    auto decade = [chart](double value) { return chart->yOf(value) - chart->yOf(10 * value); };
    EXPECT_FALSE(chart->logarithmic());
    EXPECT_NEAR(decade(1), 10 * decade(0.1), 1e-6);
    EXPECT_GT(chart->yOf(0), chart->yOf(1));

    course->logSwitch().click();
    EXPECT_TRUE(chart->logarithmic());
    EXPECT_NEAR(decade(1), decade(0.1), 1e-6);
    EXPECT_GT(decade(1), 10.0);
    // A counter at zero lies on the floor of the axis, not off the picture.
    EXPECT_TRUE(std::isfinite(chart->yOf(0)));
    EXPECT_DOUBLE_EQ(chart->yOf(0), chart->yOf(1e-9));
    EXPECT_GE(chart->yOf(0), chart->yOf(0.01));

    course->logSwitch().click();
    EXPECT_FALSE(chart->logarithmic());
    EXPECT_NEAR(decade(1), 10 * decade(0.1), 1e-6);
}

// A counter's line lies where the axis maps it, on either axis, for a single
// step as for a long run; a single step still shows its band.
TEST_F(CourseChartTest, PaintsSeriesWhereTheAxesMapThem) {
    CourseChart chart;
    chart.resize(600, 400);
    cr::StepResult step;
    step.statistisch = 2;
    step.leer = {5, 10, 15};
    step.einmal = {20, 25, 30};
    auto isBlue = [](QColor c) { return c.blue() > c.red() + 50 && c.blue() > c.green() + 50; };
    for (bool log : {false, true}) {
        chart.setLogarithmic(log);
        for (int count : {1, 200}) {
            SCOPED_TRACE(testing::Message() << "log " << log << ", steps " << count);
            std::vector<cr::StepResult> history(static_cast<std::size_t>(count), step);
            for (int k = 0; k < count; ++k) {
                history[static_cast<std::size_t>(k)].step = k + 1;
            }
            chart.setRun(history, 37);
            const QImage image = chart.grab().toImage();
            const int middle = (count + 1) / 2;
            const QPoint leerGu(static_cast<int>(chart.xOf(middle)),
                                static_cast<int>(std::floor(chart.yOf(15))));
            EXPECT_TRUE(isBlue(image.pixelColor(leerGu))) << "Leer G/U";
            if (count == 1 && !log) {
                // Mean 36, sigma about 1: half-way up the upper half of the band.
                const QPoint band(static_cast<int>(chart.xOf(1)),
                                  static_cast<int>(chart.yOf(37.4)));
                const QColor shade = image.pixelColor(band);
                EXPECT_NE(shade, QColor(Qt::white));
                EXPECT_GT(shade.blue(), shade.red());
            }
        }
    }
}

// "Is this normal?": pointing at a counter tells its value, the exact mean,
// σ and the chance of a value this far out; away from the points, nothing.
TEST_F(CourseChartTest, PointingAtACounterTellsHowLikelyItIs) {
    CourseChart chart;
    chart.resize(600, 400);
    std::vector<cr::StepResult> history(2);
    history[0].step = 1;
    history[0].leer = {36, 30, 36};
    history[0].einmal = {36, 36, 36};
    history[1].step = 2;
    history[1].leer = {18, 17, 5};
    history[1].einmal = {17, 18, 17};
    chart.setRun(history, 37);
    const QString info = chart.pointInfo(QPointF(chart.xOf(2), chart.yOf(5)));
    EXPECT_EQ(info, CourseChart::counterName(2) +
                        QStringLiteral(", Step 2: 5\nErwartungswert 17,51, σ 3,04\n"
                                       "So weit oder weiter vom Mittel: 0,00202 %"));
    EXPECT_TRUE(chart.pointInfo(QPointF(chart.xOf(1.5), chart.yOf(25))).isEmpty());
    // 5 and 30 lie outside the band, 17 and 36 inside.
    EXPECT_TRUE(chart.outsideBand(2, 5));
    EXPECT_TRUE(chart.outsideBand(1, 30));
    EXPECT_FALSE(chart.outsideBand(2, 17));
    EXPECT_FALSE(chart.outsideBand(1, 36));
}

// Hundreds of steps: zoomed in, the chart grows wider than the window and
// scrolls sideways, the middle of the view staying in the middle; zoomed
// back out, it fits again. Ctrl and the wheel zoom too.
TEST(CourseZoom, WideChartScrollsSidewaysAndFitsAgain) {
    CourseWindow course(nullptr);
    std::vector<cr::StepResult> many(500);
    for (std::size_t i = 0; i < many.size(); ++i) {
        many[i].step = static_cast<int>(i) + 1;
        many[i].leer = {1, 1, 1};
    }
    course.showRun(many, 37);
    course.show();
    QCoreApplication::processEvents();
    auto* zoomIn = course.findChild<QPushButton*>("vergroessern");
    auto* zoomOut = course.findChild<QPushButton*>("verkleinern");
    ASSERT_TRUE(zoomIn && zoomOut);
    const int shown = course.scrollArea().viewport()->width();
    EXPECT_FALSE(zoomOut->isEnabled());
    EXPECT_LE(course.chart().width(), shown);

    zoomIn->click();
    zoomIn->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(course.zoom(), 4);
    EXPECT_GE(course.chart().width(), 4 * shown);
    QScrollBar* bar = course.scrollArea().horizontalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    const double middle = (bar->value() + bar->pageStep() / 2.0) / course.chart().width();
    EXPECT_NEAR(middle, 0.5, 0.05);

    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(course.scrollArea().viewport(), &wheel);
    EXPECT_EQ(course.zoom(), 2);
    zoomOut->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(course.zoom(), 1);
    EXPECT_FALSE(zoomOut->isEnabled());
    EXPECT_LE(course.chart().width(), shown);
}

// Scrolled to the far right, the value axis still stands at the left edge
// of what is shown, drawn as it is unscrolled; the legend likewise at the
// right edge when scrolled back to the start.
TEST(CourseZoom, ValueAxisAndLegendStayInViewWhileScrolling) {
    CourseWindow course(nullptr);
    std::vector<cr::StepResult> many(300);
    for (std::size_t i = 0; i < many.size(); ++i) {
        many[i].step = static_cast<int>(i) + 1;
        many[i].leer = {static_cast<int>(i % 7), 3, 1};
        many[i].einmal = {2, static_cast<int>(i % 5), 1};
    }
    course.showRun(many, 37);
    course.show();
    course.setZoom(8);
    QCoreApplication::processEvents();
    QWidget* viewport = course.scrollArea().viewport();
    QScrollBar* bar = course.scrollArea().horizontalScrollBar();
    CourseChart& chart = course.chart();
    const int axisWidth = static_cast<int>(chart.valueAxisRect().width());
    const int legendWidth = static_cast<int>(chart.legendRect().width());
    ASSERT_GT(axisWidth, 20);
    ASSERT_GT(viewport->width(), axisWidth + legendWidth);
    auto edges = [&] {
        const QImage shown = viewport->grab().toImage();
        const int h = static_cast<int>(chart.yOf(0)); // down to the plot's floor
        return std::pair{shown.copy(0, 0, axisWidth - 1, h),
                         shown.copy(shown.width() - legendWidth + 1, 0, legendWidth - 1, h)};
    };

    bar->setValue(0);
    QCoreApplication::processEvents();
    const auto [axisAtStart, legendAtStart] = edges();
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
    ASSERT_GT(bar->value(), 0);
    const QRectF axis = chart.valueAxisRect();
    EXPECT_EQ(axis.left(), bar->value());
    EXPECT_LE(axis.right(), bar->value() + viewport->width());
    const auto [axisAtEnd, legendAtEnd] = edges();
    EXPECT_TRUE(axisAtEnd == axisAtStart) << "the value axis's labels scrolled away";
    EXPECT_TRUE(legendAtEnd == legendAtStart) << "the legend is not where it is at the end";
    EXPECT_TRUE(chart.pointInfo(QPointF(axis.center().x(), chart.yOf(3))).isEmpty())
        << "points under the axis are hidden";
}

// A run whose counters stand above zero up to step LAST_ABOVE_ZERO and at
// zero after it, to step COUNT.
std::vector<cr::StepResult> fadingRun(int count, int lastAboveZero) {
    std::vector<cr::StepResult> run(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        const int value = k < lastAboveZero ? 1 : 0;
        run[static_cast<std::size_t>(k)] = {k + 1, 0, {value, 0, 0}, {0, 0, value}};
    }
    return run;
}

// Every completed step is reachable, at the widest zoom as at the narrowest:
// scrolled to the end, the last step lies inside the part shown between the
// value axis and the legend. Trailing steps at zero are named, not hidden.
TEST_F(CourseChartTest, EveryCompletedStepIsReachableAtEveryZoom) {
    const struct {
        int steprate, count, lastAboveZero;
        const char* note;
    } cases[] = {{37, 15, 10, "Steps 11\u201315: alle Z\u00e4hler 0"},
                 {4, 25, 5, "Steps 6\u201325: alle Z\u00e4hler 0"}};
    for (const auto& c : cases) {
        CourseWindow course(nullptr);
        course.showRun(fadingRun(c.count, c.lastAboveZero), c.steprate);
        course.show();
        CourseChart& chart = course.chart();
        EXPECT_EQ(chart.zeroTailNote(), QString::fromUtf8(c.note));
        EXPECT_TRUE(chart.toolTipAt(QPointF(chart.xOf(1), 5)).contains(QString::fromUtf8(c.note)));
        for (int zoom : {1, 64}) {
            SCOPED_TRACE(testing::Message() << c.count << " steps, zoom " << zoom);
            course.setZoom(zoom);
            QScrollBar* bar = course.scrollArea().horizontalScrollBar();
            bar->setValue(bar->maximum());
            QCoreApplication::processEvents();
            const double last = chart.xOf(c.count);
            EXPECT_GT(last, chart.valueAxisRect().right());
            EXPECT_LT(last, chart.legendRect().left());
            EXPECT_LT(last, bar->value() + course.scrollArea().viewport()->width());
            EXPECT_TRUE(chart.pointInfo(QPointF(last, chart.yOf(0)))
                            .contains(QStringLiteral("1x (rot) G/U, Step %1: 0").arg(c.count)));
        }
    }
}

// Per counter, step 1 to 3: the mean COUNTER * 4 + 12 and the SD 2, over 500
// runs at step rate 20; "Statistisch" there is 20, 10 and 5.
cr::ui::RunsCourse runsCourse(double shift = 0) {
    cr::ui::RunsCourse runs;
    runs.steprate = 20;
    runs.runs = 500;
    runs.heading = QStringLiteral("500 L\u00e4ufe");
    runs.steps.resize(3);
    for (auto& step : runs.steps) {
        for (std::size_t i = 0; i < 6; ++i) {
            step.mean[i] = static_cast<double>(i) * 4 + 12 + shift;
            step.sd[i] = 2;
        }
    }
    return runs;
}

// Whether a pixel within two of AT has COLOUR, give or take the smoothing.
bool shows(const QImage& image, QPointF at, const QColor& colour) {
    for (int dx = -2; dx <= 2; ++dx) {
        for (int dy = -2; dy <= 2; ++dy) {
            const QColor c =
                image.pixelColor(static_cast<int>(at.x()) + dx, static_cast<int>(at.y()) + dy);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <=
                24) {
                return true;
            }
        }
    }
    return false;
}

// Many runs: every legend entry stands in the plot in its colour, the means,
// the SD whiskers, "Statistisch" and the band; by source, one line a source
// of its deviation z, the exact mean at 0 and the band of ±2.
TEST_F(CourseChartTest, ManyRunsDrawWhatTheLegendSays) {
    const QColor counters[] = {{200, 30, 40}, {30, 140, 50},  {30, 80, 210},
                               {235, 125, 0}, {150, 60, 180}, {0, 155, 165}};
    const QColor sources[] = {{140, 90, 40}, {225, 80, 160}, {120, 125, 0}};
    const QColor statistic(0, 0, 0);
    const QColor bandOnWhite(210, 216, 233);
    CourseChart chart;
    chart.resize(760, 480);
    chart.setRuns(runsCourse());
    QImage image = chart.grab().toImage();
    QStringList names;
    for (const CourseChart::LegendEntry& e : chart.legendEntries()) {
        names << e.name;
    }
    EXPECT_EQ(
        names,
        (QStringList{"Leer R/S", "Leer M/P", "Leer G/U", "1x (rot) R/S", "1x (rot) M/P",
                     "1x (rot) G/U", QStringLiteral("\u00b1 1 SD \u00fcber die L\u00e4ufe"),
                     "Statistisch", "Erwartungswert", QStringLiteral("Erwartung \u00b1 2\u03c3")}));
    for (std::size_t i = 0; i < 6; ++i) {
        const double mean = static_cast<double>(i) * 4 + 12;
        EXPECT_TRUE(shows(image, {chart.xOf(2), chart.yOf(mean)}, counters[i])) << i;
        // The whisker, a pixel wide, beside the step, up to the mean + SD.
        bool whisker = false;
        for (double x = chart.xOf(2) - 8; x <= chart.xOf(2) + 8; x += 4) {
            whisker = whisker || shows(image, {x, chart.yOf(mean + 1.5)}, counters[i]);
        }
        EXPECT_TRUE(whisker) << i;
    }
    EXPECT_TRUE(shows(image, {chart.xOf(3), chart.yOf(5)}, statistic));
    EXPECT_TRUE(shows(image, {chart.xOf(1), chart.yOf(20.5)}, bandOnWhite));

    // By source, Leer M/P at step rate 37: step 1 has the exact mean 36 and
    // σ √(36/37) = 0,98639, step 2 the mean 648/37 = 17,5135 and σ 3,03705.
    // z = (mean − exact mean) / (σ / √runs), worked out by hand below.
    auto table = [](long long runs, double step1, double step2) {
        cr::ui::RunsCourse course;
        course.steprate = 37;
        course.runs = runs;
        course.steps.resize(2);
        course.steps[0].mean[1] = step1;
        course.steps[1].mean[1] = step2;
        return course;
    };
    const QString tables[] = {"/daten/Tisch1.txt", "Tisch2.txt", "C:/x/Tisch3.txt"};
    // Tisch3 has no runs, so no z and no line.
    chart.setRunsBySource(table(400, 36.02, 17.2),
                          {table(100, 36.1, 18.1), table(25, 35.5, 17.0), table(0, 30, 10)},
                          {tables[0], tables[1], tables[2]}, 1);
    chart.setLogarithmic(true); // no use for z, which the chart says
    image = chart.grab().toImage();
    names.clear();
    for (const CourseChart::LegendEntry& e : chart.legendEntries()) {
        names << e.name;
    }
    EXPECT_EQ(names,
              (QStringList{"Tisch1.txt", "Tisch2.txt", "Tisch3.txt", "Leer M/P, alle Quellen",
                           "exaktes Mittel", QStringLiteral("\u00b1 2")}));
    const struct {
        int step;
        double z;
        QColor colour;
    } points[] = {
        {2, 1.9311, sources[0]},   // 0,5865 / (3,03705 / 10)
        {1, -2.5345, sources[1]},  // −0,5 / (0,98639 / 5)
        {2, -2.0646, counters[1]}, // −0,3135 / (3,03705 / 20), all pooled
    };
    for (const auto& point : points) {
        EXPECT_TRUE(shows(image, {chart.xOf(point.step), chart.yOf(point.z)}, point.colour))
            << point.z;
    }
    EXPECT_NEAR(chart.yOf(-2) - chart.yOf(-1), chart.yOf(1) - chart.yOf(2), 1e-9) << "linear";
    const double clear = chart.xOf(0.6); // left of every line's first point
    EXPECT_TRUE(shows(image, {clear, chart.yOf(0)}, QColor(80, 80, 80))) << "exaktes Mittel";
    EXPECT_TRUE(shows(image, {clear, chart.yOf(-1.5)}, bandOnWhite));
    EXPECT_TRUE(shows(image, {clear, chart.yOf(1.5)}, bandOnWhite));
    EXPECT_TRUE(shows(image, {clear, chart.yOf(2.6)}, QColor(Qt::white))) << "band beyond 2";
    EXPECT_EQ(
        chart.pointInfo({chart.xOf(1), chart.yOf(-2.5345)}),
        QStringLiteral("Tisch2.txt, Leer M/P, Step 1: z = -2,53\n"
                       "Mittel \u00fcber 25 L\u00e4ufe: 35,50, exaktes Mittel 36,00, "
                       "Standardfehler \u03c3/\u221aL\u00e4ufe 0,197\n"
                       "Das Mittel liegt 2,53 Standardfehler unter dem exakten. |z| \u00fcber "
                       "2 kommt bei reinem Zufall in etwa 1 von 22 F\u00e4llen vor; bei 3 "
                       "Quellen und 2 Steps (6 Punkte) also im Mittel etwa 0,3-mal."));
    const struct {
        QPointF at;
        const char* says;
    } tips[] = {
        {{clear, chart.yOf(-1.5)}, "in 95 von 100 F\u00e4llen"},
        {{clear, chart.yOf(0)}, "exaktes Mittel: z = 0"},
        {{chart.valueAxisRect().center().x(), chart.yOf(1)}, "Abweichung z (in Standardfehlern)"},
        {{chart.xOf(1), 5}, "logarithmische Achse gilt f\u00fcr Anzahlen"},
    };
    for (const auto& tip : tips) {
        EXPECT_TRUE(chart.toolTipAt(tip.at).contains(QString::fromUtf8(tip.says))) << tip.says;
    }
}

// Every part of the chart tells what it is: the points, the legend's
// entries, the band, the axes.
TEST_F(CourseChartTest, EveryPartExplainsItself) {
    CourseChart one;
    one.resize(760, 480);
    std::vector<cr::StepResult> run = fadingRun(4, 2);
    run[0].leer = {36, 30, 36}; // 30 lies outside the band of step 1
    run[0].einmal = {36, 36, 36};
    one.setRun(run, 37);
    CourseChart many;
    many.resize(760, 480);
    many.setRuns(runsCourse());
    auto legend = [](const CourseChart& chart, const char* name) {
        const auto entries = chart.legendEntries();
        for (std::size_t n = 0; n < entries.size(); ++n) {
            if (entries[n].name == QString::fromUtf8(name)) {
                return chart.legendRow(n).center();
            }
        }
        ADD_FAILURE() << name;
        return QPointF();
    };
    const QRectF axis = one.valueAxisRect();
    const struct {
        const CourseChart& chart;
        QPointF at;
        const char* says;
    } cases[] = {
        {one, legend(one, "Leer R/S"), "Leer R/S: Felder der Paarung Rot/Schwarz"},
        {one, legend(one, "Leer R/S"), "noch nie getroffen"},
        {one, legend(one, "1x (rot) M/P"), "Manque/Passe, die im ersten Step getroffen"},
        {one, legend(one, "Statistisch"), "in Step 1 gleich der Step-Rate"},
        {one, legend(one, "Erwartungswert"), "exakte Mittelwert"},
        {one, legend(one, "Erwartung \u00b1 2\u03c3"), "etwa 95 %"},
        {one, legend(one, "au\u00dferhalb \u00b1 2\u03c3"), "1 von 20"},
        {many, legend(many, "\u00b1 1 SD \u00fcber die L\u00e4ufe"), "Standardabweichung"},
        {one, {axis.center().x(), one.yOf(20)}, "Anzahl Felder: der Wert eines Z\u00e4hlers"},
        {one, {one.xOf(1), one.yOf(0) + 12}, "Step: die abgeschlossenen Steps"},
        {one, {one.xOf(1), one.yOf(37.6)}, "etwa 95 %"},
        {one, {one.xOf(1), one.yOf(30)}, "Leer M/P, Step 1: 30"},
        {many,
         {many.xOf(2), many.yOf(16)},
         "Leer M/P, Step 2\nMittel \u00fcber 500 L\u00e4ufe: "
         "16,00, SD \u00fcber die L\u00e4ufe 2,00"},
        {many, {many.xOf(2), many.yOf(16)}, "z = 65,43"},
        {many,
         {many.xOf(2), many.yOf(16)},
         "|z| \u00fcber 2 kommt bei reinem Zufall in etwa "
         "1 von 22 F\u00e4llen vor"},
    };
    for (const auto& c : cases) {
        const QString tip = c.chart.toolTipAt(c.at);
        EXPECT_TRUE(tip.contains(QString::fromUtf8(c.says))) << c.says << "\n" << tip.toStdString();
    }
}

} // namespace
