// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_fixture.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using GridAccessibilityTest = cr::testing::WindowTest;

QAccessibleInterface* gridInterface(QWidget* window) {
    return QAccessible::queryAccessibleInterface(window->findChild<QWidget*>("tabelle2"));
}

// Eight named columns, no spacers; a cell says its position.
TEST_F(GridAccessibilityTest, ColumnsAreNamedAndEveryCellSaysItsPosition) {
    startRun("10", "4");
    QAccessibleInterface* grid = gridInterface(window.get());
    ASSERT_NE(grid, nullptr);
    QAccessibleTableInterface* table = grid->tableInterface();
    ASSERT_NE(table, nullptr);
    const QStringList names{"Wurf",   "Zahl",  "Rot",    "Schwarz",
                            "Manque", "Passe", "Gerade", "Ungerade"};
    ASSERT_EQ(table->columnCount(), names.size());
    ASSERT_EQ(table->rowCount(), 4);
    ASSERT_EQ(grid->childCount(), 8 + 4 * 8);
    for (int c = 0; c < table->columnCount(); ++c) {
        EXPECT_EQ(table->columnDescription(c), names[c]);
        QAccessibleInterface* header = grid->child(c);
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->role(), QAccessible::ColumnHeader);
        EXPECT_EQ(header->text(QAccessible::Name), names[c]);
        EXPECT_EQ(table->cellAt(0, c)->tableCellInterface()->columnHeaderCells().value(0), header);
    }
    QAccessibleInterface* last = grid->child(grid->childCount() - 1);
    EXPECT_EQ(last->parent(), grid);
    EXPECT_EQ(last->tableCellInterface()->rowIndex(), 3);
    EXPECT_TRUE(last->text(QAccessible::Name).startsWith("Position 4, "));
    EXPECT_EQ(grid->childAt(table->cellAt(2, 3)->rect().center().x(),
                            table->cellAt(2, 3)->rect().center().y()),
              table->cellAt(2, 3));
}

// What the colours say is said in words too, and the counters read with
// their meaning. Every draw is a 7: red, manque, odd.
TEST_F(GridAccessibilityTest, CellsAndCountersSpeakTheirState) {
    startRun("10", "1");
    auto* weiter = find<QPushButton>("okweiter");
    QAccessibleTableInterface* table = gridInterface(window.get())->tableInterface();
    auto cell = [table](int column) { return table->cellAt(0, column)->text(QAccessible::Name); };
    weiter->click();
    EXPECT_EQ(cell(0), "Position 1, aktueller Wurf");
    EXPECT_EQ(cell(1), "Position 1, Zahl 7");
    EXPECT_EQ(cell(2), "Position 1, Rot: 1x getroffen");
    EXPECT_EQ(cell(3), "Position 1, Schwarz: leer");
    EXPECT_EQ(cell(7), "Position 1, Ungerade: 1x getroffen");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(find("labtempd"))->text(QAccessible::Name),
              "1x (rot) Rot/Schwarz: 1");
    weiter->click(); // step 2: the same fields again
    EXPECT_EQ(cell(2), "Position 1, Rot: in späterem Step oder erneut getroffen");
    EXPECT_EQ(cell(3), "Position 1, Schwarz: leer");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(find("labtempd"))->text(QAccessible::Name),
              "1x (rot) Rot/Schwarz: 0");
}

} // namespace
