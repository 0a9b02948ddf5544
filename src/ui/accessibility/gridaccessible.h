// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/accessibility/madeinterfaces.h"

#include <QAccessibleWidget>
#include <array>

namespace cr::ui {

class ResultGridView;
class ResultGridModel;

// The result grid as a screen reader sees it: a table of the eight columns
// that carry a meaning (the narrow spacer columns are left out), headed by
// their names, with one named cell per position and column.
class GridAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    static constexpr int kColumns = 8;
    // The grid columns that carry a meaning, as the core names them.
    static const std::array<int, kColumns>& modelColumns();
    static QString columnName(int tableColumn);
    // The table's column of a grid column; -1 for a spacer.
    static int tableColumn(int modelColumn);

    explicit GridAccessible(ResultGridView* view);

    ResultGridView* view() const;
    const ResultGridModel& model() const;

    // QAccessibleInterface
    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::Role role() const override { return QAccessible::Table; }
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return kColumns; }
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

    QAccessibleInterface* headerAt(int column) const;

private:
    // Cells and headers made so far, by row * kColumns + column (headers
    // below zero).
    mutable MadeInterfaces m_children;
};

} // namespace cr::ui
