// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessibility/gridaccessible.h"

#include "ui/accessibility/coverwatch.h"
#include "ui/grid/resultgridmodel.h"
#include "ui/grid/resultgridview.h"

#include <QPointer>

namespace cr::ui {

const std::array<int, GridAccessible::kColumns>& GridAccessible::modelColumns() {
    static const std::array<int, kColumns> columns = [] {
        std::array<int, kColumns> meaningful{};
        std::size_t next = 0;
        for (int c = 0; c < ResultGrid::kColumns && next < meaningful.size(); ++c) {
            if (columnMeaning(c).kind != ColumnMeaning::Kind::Spacer) {
                meaningful[next++] = c;
            }
        }
        return meaningful;
    }();
    return columns;
}

QString GridAccessible::columnName(int tableColumn) {
    const ColumnMeaning meaning =
        columnMeaning(modelColumns()[static_cast<std::size_t>(tableColumn)]);
    switch (meaning.kind) {
    case ColumnMeaning::Kind::Position:
        return QStringLiteral("Wurf");
    case ColumnMeaning::Kind::Number:
        return QStringLiteral("Zahl");
    case ColumnMeaning::Kind::Field: {
        const std::string_view name = sideName(meaning.pair, meaning.side);
        return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
    case ColumnMeaning::Kind::Spacer:
        break;
    }
    return {};
}

namespace {

// Common ground of a cell and a column header: they belong to the table of
// one view and have no object of their own.
class GridPart : public QAccessibleInterface {
public:
    GridPart(ResultGridView* view, int row, int column)
        : m_view(view), m_row(row), m_column(column) {}

    bool isValid() const override { return m_view && grid(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return grid(); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    GridAccessible* grid() const {
        return m_view ? dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(m_view))
                      : nullptr;
    }
    QRect onScreen(QRect r) const {
        return r.translated(m_view->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::State baseState() const {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !m_view->isVisible() || CoverWatch::isCovered(m_view);
        return state;
    }

    QPointer<ResultGridView> m_view;
    int m_row;
    int m_column; // the table's column
};

class GridHeader final : public GridPart {
public:
    using GridPart::GridPart;
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? GridAccessible::columnName(m_column) : QString();
    }
    QRect rect() const override {
        const int column = GridAccessible::modelColumns()[static_cast<std::size_t>(m_column)];
        return onScreen(
            QRect(m_view->columnViewportPosition(column), 0, m_view->columnWidth(column), 0));
    }
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QAccessible::State state() const override { return baseState(); }
};

class GridCell final : public GridPart, public QAccessibleTableCellInterface {
public:
    using GridPart::GridPart;
    bool isValid() const override {
        return GridPart::isValid() && m_row < m_view->model()->rowCount();
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !isValid()) {
            return {};
        }
        return grid()->model().accessibleText(
            m_row, GridAccessible::modelColumns()[static_cast<std::size_t>(m_column)]);
    }
    QRect rect() const override { return onScreen(m_view->visualRect(index())); }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State state = baseState();
        if (!m_view->viewport()->rect().intersects(m_view->visualRect(index()))) {
            state.invisible = true;
        }
        return state;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        return {grid()->headerAt(m_column)};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return grid(); }

private:
    QModelIndex index() const {
        return m_view->model()->index(
            m_row, GridAccessible::modelColumns()[static_cast<std::size_t>(m_column)]);
    }
};

} // namespace

int GridAccessible::tableColumn(int modelColumn) {
    for (int c = 0; c < kColumns; ++c) {
        if (modelColumns()[static_cast<std::size_t>(c)] == modelColumn) {
            return c;
        }
    }
    return -1;
}

GridAccessible::GridAccessible(ResultGridView* view)
    : QAccessibleWidget(view, QAccessible::Table) {}

ResultGridView* GridAccessible::view() const {
    return static_cast<ResultGridView*>(widget());
}

const ResultGridModel& GridAccessible::model() const {
    return *static_cast<const ResultGridModel*>(view()->model());
}

void* GridAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) {
        return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State GridAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    if (CoverWatch::isCovered(view())) {
        state.invisible = true;
    }
    return state;
}

int GridAccessible::rowCount() const {
    return view()->model()->rowCount();
}

int GridAccessible::childCount() const {
    return kColumns + rowCount() * kColumns;
}

QAccessibleInterface* GridAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    if (index < kColumns) {
        return headerAt(index);
    }
    return cellAt(index / kColumns - 1, index % kColumns);
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child || child->parent() != this) {
        return -1;
    }
    if (child->role() == QAccessible::ColumnHeader) {
        for (int c = 0; c < kColumns; ++c) {
            if (m_children.known(-1 - c) == child) {
                return c;
            }
        }
        return -1;
    }
    auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
    return cell ? (cell->rowIndex() + 1) * kColumns + cell->columnIndex() : -1;
}

QAccessibleInterface* GridAccessible::childAt(int x, int y) const {
    const QPoint at = view()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = view()->indexAt(at);
    const int column = index.isValid() ? tableColumn(index.column()) : -1;
    return column < 0 ? nullptr : cellAt(index.row(), column);
}

QAccessibleInterface* GridAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) {
        return nullptr;
    }
    const int key = row * kColumns + column;
    QAccessibleInterface* cell = m_children.known(key);
    return cell ? cell : m_children.remember(key, new GridCell(view(), row, column));
}

QAccessibleInterface* GridAccessible::headerAt(int column) const {
    if (column < 0 || column >= kColumns) {
        return nullptr;
    }
    QAccessibleInterface* header = m_children.known(-1 - column);
    return header ? header : m_children.remember(-1 - column, new GridHeader(view(), -1, column));
}

QString GridAccessible::columnDescription(int column) const {
    return column >= 0 && column < kColumns ? columnName(column) : QString();
}

QString GridAccessible::rowDescription(int row) const {
    return QStringLiteral("Position %1").arg(row + 1);
}

// Cells name themselves from the model when asked; only a change of the rows
// makes the ones handed out so far stale.
void GridAccessible::modelChange(QAccessibleTableModelChangeEvent* event) {
    if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged) {
        m_children.forget([](int key) { return key >= 0; }); // the headers stay
    }
}

} // namespace cr::ui
