// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/analysiswindow.h"
#include "ui/charts/coursewindow.h"
#include "ui/common/decorations.h"
#include "ui/grid/resultgridmodel.h"
#include "ui/grid/resultgridview.h"
#include "ui/main/mainwindow.h"
#include "window_fixture.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using MainWindowTest = cr::testing::WindowTest;

struct Place {
    const char* name;
    int left, top, width, height; // twips
};

// Every control where the window definition puts it (15 twips to a pixel).
const Place kPlaces[] = {
    {"Label4", 210, 30, 465, 240},       {"Label5", 720, 30, 495, 255},
    {"Label13", 1200, 30, 495, 255},     {"Label14", 1800, 30, 375, 255},
    {"Label16", 2430, 30, 495, 255},     {"tabelle2", 135, 270, 3090, 7200},
    {"infotext", 45, 270, 3480, 7215},   {"text", 3600, 360, 3255, 855},
    {"Label8", 4920, 2040, 615, 255},    {"textstep", 4800, 2280, 855, 375},
    {"Label2", 4350, 2850, 495, 225},    {"Label15", 5565, 2850, 735, 255},
    {"Label3", 3630, 3240, 375, 255},    {"Label9", 3630, 3840, 375, 255},
    {"Label11", 3630, 4440, 375, 255},   {"labtempa", 4200, 3120, 735, 375},
    {"labtempb", 4200, 3720, 735, 375},  {"labtempc", 4200, 4320, 735, 375},
    {"labtempd", 5520, 3120, 735, 375},  {"labtempe", 5520, 3720, 735, 375},
    {"labtempf", 5520, 4320, 735, 375},  {"labstat", 4800, 5040, 855, 375},
    {"Label12", 4740, 5520, 975, 255},   {"okweiter", 3600, 5880, 930, 555},
    {"okstep", 4710, 5880, 1050, 555},   {"okreset", 6000, 5880, 930, 555},
    {"okclip", 4710, 6600, 975, 375},    {"Shape1", 7320, 240, 2055, 7215},
    {"Label1", 7560, 450, 1575, 255},    {"textanzahl", 7560, 720, 1575, 435},
    {"Label7", 8040, 1200, 615, 255},    {"textakut", 7560, 1440, 1575, 435},
    {"Label6", 7470, 2040, 1575, 255},   {"textwiederhol", 7560, 2280, 1575, 435},
    {"okstart", 7560, 3000, 1560, 480},  {"okinfo", 7560, 4320, 1605, 480},
    {"okextern", 7560, 5040, 1575, 480}, {"okabbrechen", 7560, 5760, 1575, 480},
    {"okende", 7560, 6480, 1620, 450},   {"Frame1", 7320, 240, 2115, 6870},
};

TEST_F(MainWindowTest, ControlsSitWhereTheWindowDefinitionPutsThem) {
    EXPECT_EQ(window->size(), QSize(638, 507));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the window must not be resizable";
    for (const Place& p : kPlaces) {
        SCOPED_TRACE(p.name);
        const QRect g = find(p.name)->geometry();
        EXPECT_NEAR(g.x(), p.left / 15.0, 0.5);
        EXPECT_NEAR(g.y(), p.top / 15.0, 0.5);
        EXPECT_NEAR(g.width(), p.width / 15.0, 1.0);
        EXPECT_NEAR(g.height(), p.height / 15.0, 1.0);
    }
}

TEST_F(MainWindowTest, LinesRunBetweenTheirEndPointsInTheirColours) {
    struct LineDef {
        const char* name;
        int x1, y1, x2, y2;
        QColor colour;
    };
    const LineDef lines[] = {
        {"Line1", 7560, 3960, 9120, 3960, QColor(0, 0, 192)},
        {"Line2", 5220, 2640, 5220, 5040, QColor(64, 64, 64)},
        {"Line3", 4920, 3300, 5535, 3300, QColor(64, 64, 64)},
        {"Line4", 4920, 3900, 5535, 3900, QColor(64, 64, 64)},
        {"Line5", 4920, 4515, 5535, 4515, QColor(64, 64, 64)},
    };
    for (const LineDef& l : lines) {
        SCOPED_TRACE(l.name);
        auto* line = find<cr::ui::LineWidget>(l.name);
        EXPECT_EQ(line->colour(), l.colour);
        EXPECT_NEAR(line->geometry().left(), l.x1 / 15.0, 0.5);
        EXPECT_NEAR(line->geometry().top(), l.y1 / 15.0, 0.5);
        EXPECT_NEAR(line->geometry().right(), l.x2 / 15.0, 0.5);
        EXPECT_NEAR(line->geometry().bottom(), l.y2 / 15.0, 0.5);
    }
    EXPECT_EQ(find<cr::ui::OutlineWidget>("Shape1")->colour(), QColor(0, 0, 192));
}

TEST_F(MainWindowTest, FontsAndColoursFollowTheKindOfControl) {
    struct Look {
        const char* name;
        double points;
        bool bold;
        QColor background;
        QColor text;
    };
    const QColor grey(224, 224, 224), darkBlue(0, 0, 192), blue(0, 0, 255);
    const QColor green(192, 255, 192), orange(255, 224, 192), black(0, 0, 0);
    const Look looks[] = {
        {"textanzahl", 12, true, green, black},  {"textstep", 12, true, green, black},
        {"okstart", 9.75, true, {}, {}},         {"okende", 9.75, true, {}, {}},
        {"okweiter", 8.25, true, {}, {}},        {"okclip", 8.25, true, {}, {}},
        {"labtempa", 9.75, true, orange, black}, {"labstat", 9.75, true, orange, black},
        {"Label1", 8.25, true, grey, darkBlue},  {"Label12", 8.25, true, grey, darkBlue},
        {"Label4", 8.25, true, grey, blue},      {"Label13", 8.25, false, grey, blue},
        {"Label16", 8.25, false, grey, blue},    {"text", 8.25, false, grey, black},
    };
    for (const Look& look : looks) {
        SCOPED_TRACE(look.name);
        QWidget* w = find(look.name);
        EXPECT_DOUBLE_EQ(w->font().pointSizeF(), look.points);
        EXPECT_EQ(w->font().bold(), look.bold);
        if (look.background.isValid()) {
            EXPECT_EQ(w->palette().color(w->backgroundRole()), look.background);
            EXPECT_EQ(w->palette().color(w->foregroundRole()), look.text);
        }
    }
    EXPECT_EQ(window->palette().color(QPalette::Window), grey);
    for (const char* framed : {"labtempa", "labstat", "text"}) {
        EXPECT_EQ(find<QLabel>(framed)->frameShape(), QFrame::Box) << framed;
    }
    EXPECT_TRUE(find<QLineEdit>("textanzahl")->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(find<QLabel>("labtempa")->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(find<QLabel>("text")->alignment() & Qt::AlignLeft);
}

// Whatever font stands in for the window's own, no caption may be cut off.
TEST_F(MainWindowTest, EveryCaptionFitsItsControl) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QString caption;
        int room = w->width();
        if (auto* label = qobject_cast<QLabel*>(w)) {
            caption = label->text();
            room -= 2 * label->frameWidth();
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            caption = button->text();
            room -= 8;
        } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
            caption = frame->title();
            room -= 16;
        }
        const QFontMetrics metrics(w->font());
        for (const QString& line : caption.split(QLatin1Char('\n'))) {
            EXPECT_LE(metrics.horizontalAdvance(line), room)
                << w->objectName().toStdString() << ": " << line.toStdString();
        }
    }
    // The program's own status lines fit the status label, four of them high.
    auto* status = find<QLabel>("text");
    const QFontMetrics metrics(status->font());
    EXPECT_LE(4 * metrics.lineSpacing(), status->height() - 2);
    for (const char* line : {"   mit den Permanenzen der Hamburger Spiel-",
                             "  Geben Sie den Ort an, wo sich die Datei",
                             "  Oder Import drücken und entspr. Datei der"}) {
        EXPECT_LE(metrics.horizontalAdvance(QString::fromUtf8(line)),
                  status->contentsRect().width())
            << line;
    }
}

TEST_F(MainWindowTest, TabOrderAndFocusAtStartUp) {
    const char* order[] = {"textanzahl",    "okstart",         "okende",   "okextern",
                           "okabbrechen",   "Drive1",          "Dir1",     "File1",
                           "okexternok",    "okexternabbruch", "okinfo",   "tabelle2",
                           "textwiederhol", "okweiter",        "textakut", "textstep",
                           "okreset",       "okstep",          "infotext", "okclip"};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        SCOPED_TRACE(order[i]);
        QWidget* w = find(order[i - 1]);
        QWidget* next = w->nextInFocusChain();
        // Skip what takes no focus by Tab and the inner parts of compound widgets.
        while (next && (!(next->focusPolicy() & Qt::TabFocus) || next->objectName().isEmpty() ||
                        next->objectName().startsWith(QLatin1String("qt_")))) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next, find(order[i]));
    }
    EXPECT_EQ(QApplication::focusWidget(), find("textanzahl"));
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_TRUE(window->windowIcon().availableSizes().contains(QSize(32, 32)));
}

TEST_F(MainWindowTest, GridColumnsAndRowsAreFixed) {
    auto* view = find<cr::ui::ResultGridView>("tabelle2");
    const int twips[] = {550, 50, 300, 70, 200, 200, 250, 200, 200, 250, 200, 200};
    int edge = 0;
    for (int c = 0; c < 12; ++c) {
        SCOPED_TRACE(c);
        EXPECT_NEAR(view->columnViewportPosition(c), edge / 15.0, 0.5);
        edge += twips[c];
    }
    EXPECT_EQ(view->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_FALSE(view->horizontalHeader()->isVisible());
    EXPECT_EQ(view->model()->rowCount(), 1);
}

// The context menu's entries in their order, enabled as far as the run allows
// them, at every turn of a run; and the grid cells' text colours.
TEST_F(MainWindowTest, MenuEntriesAndGridCellsFollowTheRun) {
    const auto menuStates = [this] {
        std::string states;
        for (const QAction* action : window->actions()) {
            states += action->isEnabled() ? '1' : '0';
        }
        return states;
    };
    // Permanenz öffnen, Lauf speichern, Verlauf anzeigen, Alle Steps speichern, Auswertung,
    // Systemtest, Live-Eingabe, Zurück, Wiederholen.
    EXPECT_EQ(menuStates(), "101011100") << "start-up";
    find<QPushButton>("okextern")->click();
    EXPECT_EQ(menuStates(), "101011100") << "chooser open";
    find<QPushButton>("okexternabbruch")->click();
    startRun("8", "4");
    EXPECT_EQ(menuStates(), "011011100") << "Start";
    find<QPushButton>("okstep")->click();
    EXPECT_EQ(menuStates(), "011111100") << "a step ended";

    // The grid's texts and backgrounds are in every scenario dump; its text
    // colours only here: dark grey for the position, dark blue for the rest.
    for (int c = 0; c < 12; ++c) {
        const QModelIndex cell = window->gridModel().index(3, c);
        EXPECT_EQ(cell.data(Qt::ForegroundRole).value<QColor>(),
                  c == 0 ? QColor(64, 64, 64) : QColor(0, 0, 192))
            << c;
    }
    find<QPushButton>("okreset")->click();
    EXPECT_EQ(menuStates(), "011011100") << "Reset";
    find<QPushButton>("okstep")->click();
    EXPECT_FALSE(find("okweiter")->isEnabled());
    EXPECT_EQ(menuStates(), "011111100") << "the end of the run";
    abbruch();
    EXPECT_EQ(menuStates(), "101011100") << "Abbruch";
}

// Reset and Abbruch clear many rows in one model reset, not cell by cell;
// a whole series reaches the view as one ranged change.
TEST_F(MainWindowTest, BulkChangesReachTheViewAtOnce) {
    const auto& model = window->gridModel();
    QAbstractItemModelTester tester(const_cast<cr::ui::ResultGridModel*>(&model),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    typeInto("textanzahl", "9999");
    typeInto("textwiederhol", "500");
    find<QPushButton>("okstart")->click();
    EXPECT_EQ(model.rowCount(), 500);

    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    find<QPushButton>("okstep")->click();
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(model.index(499, 2).data().toInt(), 7);

    changes.clear();
    find<QPushButton>("okreset")->click();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(model.index(499, 0).data().toInt(), 500);
    EXPECT_FALSE(model.index(499, 2).data().isValid());
}

// A line edit under the X11 keyboard scheme, where Ctrl+E moves to the
// line's end, claims that key before any shortcut is looked at. The
// offscreen platform's scheme binds no such key: here the box claims it as
// it does under X11.
class ClaimsCtrlE final : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride &&
            static_cast<QKeyEvent*>(event)->keyCombination() ==
                QKeyCombination(Qt::ControlModifier, Qt::Key_E)) {
            event->accept();
        }
        return false;
    }
};

// The menu's shortcuts work while a box has the focus, even one that claims
// the key; the box's own keys stay its own.
TEST_F(MainWindowTest, MenuShortcutsWorkWhileTyping) {
    auto* box = find<QLineEdit>("textanzahl");
    ClaimsCtrlE claims;
    box->installEventFilter(&claims);
    box->setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), box);
    QTest::keyClicks(box, QStringLiteral("123"));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(box->selectedText(), box->text()) << "Ctrl+A still selects the box's text";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
    const auto* analysis = window->findChild<cr::ui::AnalysisWindow*>();
    ASSERT_NE(analysis, nullptr) << "Ctrl+E opened no \"Auswertung\"";
    EXPECT_TRUE(analysis->isVisible());

    box->activateWindow();
    QApplication::setActiveWindow(window.get());
    box->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::ControlModifier);
    const auto* course = window->findChild<cr::ui::CourseWindow*>();
    ASSERT_NE(course, nullptr) << "Ctrl+G opened no \"Verlauf\"";
    EXPECT_TRUE(course->isVisible());
}

} // namespace
