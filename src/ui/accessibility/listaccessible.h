// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/accessibility/madeinterfaces.h"

#include <QAccessibleWidget>

class QListView;
class QModelIndex;

namespace cr::ui {

// A list of the import chooser (the directory and file lists, and the drive
// list's drop-down) as a screen reader sees it: a one-column table of named
// items. Unlike the toolkit's own, an item counts as shown only while its
// list is on screen (a hidden chooser hides its lists' items too) and as
// focused only while its list has the keyboard focus.
class ListAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ListAccessible(QListView* list);

    QListView* list() const;

    // QAccessibleInterface
    void* interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override { return cellAt(index, 0); }
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return static_cast<int>(selectedRows().size()); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return selectedCellCount(); }
    int columnCount() const override { return 1; }
    int rowCount() const override { return childCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    QModelIndex indexOf(int row) const;

    mutable MadeInterfaces m_items; // by row
};

} // namespace cr::ui
