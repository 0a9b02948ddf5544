#include "window_fixture.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QString accessibleText(QObject* object, QAccessible::Text kind) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(kind) : QString();
}

using AccessibilityTest = cr::testing::WindowTest;

// A screen reader finds a name for every control, and the tool tip as its
// description.
TEST_F(AccessibilityTest, EveryControlHasANameAndItsToolTipAsDescription) {
    const char* controls[] = {
        "textanzahl", "textakut",    "textwiederhol", "textstep",   "okstart",
        "okweiter",   "okstep",      "okreset",       "okclip",     "okinfo",
        "okextern",   "okabbrechen", "okende",        "text",       "labtempa",
        "labtempf",   "labstat",     "tabelle2",      "infotext",   "Frame1",
        "Drive1",     "Dir1",        "File1",         "okexternok", "okexternabbruch"};
    for (const char* name : controls) {
        SCOPED_TRACE(name);
        QWidget* w = window->findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(accessibleText(w, QAccessible::Name).isEmpty());
        if (!w->toolTip().isEmpty()) {
            EXPECT_EQ(accessibleText(w, QAccessible::Description), w->toolTip());
        }
    }
    EXPECT_EQ(accessibleText(window->findChild<QWidget*>("okstep"), QAccessible::Name), "Step");
}

// What the colours say is said in words too, and the counters read with
// their meaning.
TEST_F(AccessibilityTest, GridCellsAndCountersSpeakTheirState) {
    startRun("10", "4");
    window->findChild<QPushButton*>("okweiter")->click();

    QAccessibleInterface* grid =
        QAccessible::queryAccessibleInterface(window->findChild<QWidget*>("tabelle2"));
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(grid->tableInterface(), nullptr);
    auto cell = [grid](int row, int column) {
        return grid->tableInterface()->cellAt(row, column)->text(QAccessible::Name);
    };
    EXPECT_EQ(cell(0, 0), "Position 1, aktueller Wurf");
    EXPECT_EQ(cell(1, 0), "Position 2");
    EXPECT_EQ(cell(0, 2), "Zahl 7");
    EXPECT_EQ(cell(0, 4), "Rot: 1x getroffen");
    EXPECT_EQ(cell(0, 5), "Schwarz: leer");
    EXPECT_EQ(cell(0, 11), "Ungerade: 1x getroffen");
    EXPECT_EQ(accessibleText(window->findChild<QWidget*>("labtempa"), QAccessible::Name),
              "Leer Rot/Schwarz: 7");
}

} // namespace
