// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessibility/listaccessible.h"

#include <QItemSelectionModel>
#include <QListView>
#include <QPointer>

namespace cr::ui {

namespace {

class ListItem final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    ListItem(QListView* list, int row) : m_list(list), m_row(row) {}

    bool isValid() const override { return m_list && m_row < m_list->model()->rowCount(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_list);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? index().data().toString() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        return isValid() ? m_list->visualRect(index()).translated(
                               m_list->viewport()->mapToGlobal(QPoint(0, 0)))
                         : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invisible = true;
            return state;
        }
        // Shown means on screen: the list and everything it lies in shown,
        // and the item inside the visible part of the list.
        state.invisible = !m_list->isVisible() ||
                          !m_list->viewport()->rect().intersects(m_list->visualRect(index()));
        state.selectable = state.focusable = (index().flags() & Qt::ItemIsSelectable) != 0;
        state.selected = isSelected();
        state.focused = m_list->hasFocus() && m_list->currentIndex() == index();
        return state;
    }

    bool isSelected() const override {
        return isValid() && m_list->selectionModel()->isSelected(index());
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QModelIndex index() const { return m_list->model()->index(m_row, m_list->modelColumn()); }

    QPointer<QListView> m_list;
    int m_row;
};

} // namespace

ListAccessible::ListAccessible(QListView* list) : QAccessibleWidget(list, QAccessible::List) {}

QListView* ListAccessible::list() const {
    return static_cast<QListView*>(widget());
}

QModelIndex ListAccessible::indexOf(int row) const {
    return list()->model()->index(row, list()->modelColumn());
}

void* ListAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) {
        return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

int ListAccessible::childCount() const {
    return list()->model()->rowCount();
}

int ListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child || child->parent() != this) {
        return -1;
    }
    auto* item = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
    return item ? item->rowIndex() : -1;
}

QAccessibleInterface* ListAccessible::childAt(int x, int y) const {
    const QModelIndex index = list()->indexAt(list()->viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() ? cellAt(index.row(), 0) : nullptr;
}

QAccessibleInterface* ListAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= childCount() || column != 0) {
        return nullptr;
    }
    QAccessibleInterface* item = m_items.known(row);
    return item ? item : m_items.remember(row, new ListItem(list(), row));
}

QList<int> ListAccessible::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : list()->selectionModel()->selectedIndexes()) {
        if (index.column() == list()->modelColumn()) {
            rows << index.row();
        }
    }
    return rows;
}

QList<QAccessibleInterface*> ListAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (const int row : selectedRows()) {
        cells << cellAt(row, 0);
    }
    return cells;
}

bool ListAccessible::isRowSelected(int row) const {
    return row >= 0 && row < childCount() && list()->selectionModel()->isSelected(indexOf(row));
}

bool ListAccessible::selectRow(int row) {
    if (row < 0 || row >= childCount()) {
        return false;
    }
    list()->setCurrentIndex(indexOf(row));
    return true;
}

bool ListAccessible::unselectRow(int row) {
    if (!isRowSelected(row)) {
        return false;
    }
    list()->selectionModel()->select(indexOf(row), QItemSelectionModel::Deselect);
    return true;
}

// Items read the list when asked; only a change of the rows makes the ones
// handed out so far stale.
void ListAccessible::modelChange(QAccessibleTableModelChangeEvent* event) {
    if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged) {
        m_items.forget([](int) { return true; });
    }
}

} // namespace cr::ui
