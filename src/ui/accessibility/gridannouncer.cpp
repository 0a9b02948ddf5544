// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessibility/gridannouncer.h"

#include "ui/accessibility/announce.h"
#include "ui/accessibility/gridaccessible.h"
#include "ui/grid/resultgridmodel.h"
#include "ui/grid/resultgridview.h"

#include <QAccessible>
#include <vector>

namespace cr::ui {

GridAnnouncer::GridAnnouncer(ResultGridView* view) : QObject(view), m_view(view) {
    const QAbstractItemModel* model = view->model();
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                rowsChanged(topLeft.row(), bottomRight.row());
            });
    connect(model, &QAbstractItemModel::modelReset, this, &GridAnnouncer::rememberAll);
    rememberAll();
}

void GridAnnouncer::rememberAll() {
    m_told.clear();
    if (announcing()) {
        rowsChanged(0, m_view->model()->rowCount() - 1);
    }
}

void GridAnnouncer::rowsChanged(int first, int last) {
    if (!announcing()) {
        m_told.clear(); // told nothing; whoever listens later starts afresh
        return;
    }
    const auto& model = *static_cast<const ResultGridModel*>(m_view->model());
    constexpr int kColumns = GridAccessible::kColumns;
    std::vector<int> changed;
    for (int row = first; row <= last; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const QString name = model.accessibleText(
                row, GridAccessible::modelColumns()[static_cast<std::size_t>(column)]);
            const auto told = m_told.find(row * kColumns + column);
            if (told == m_told.end()) {
                m_told.insert(row * kColumns + column, name); // first seen: nothing to tell
            } else if (*told != name) {
                *told = name;
                changed.push_back(row * kColumns + column);
            }
        }
    }
    if (changed.empty()) {
        return;
    }
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(m_view);
    if (static_cast<int>(changed.size()) > kCellsOneByOne || !table || !table->tableInterface()) {
        QAccessibleEvent event(m_view, QAccessible::VisibleDataChanged);
        announce(&event);
        return;
    }
    for (const int key : changed) {
        if (QAccessibleInterface* cell =
                table->tableInterface()->cellAt(key / kColumns, key % kColumns)) {
            QAccessibleEvent event(cell, QAccessible::NameChanged);
            announce(&event);
        }
    }
}

} // namespace cr::ui
