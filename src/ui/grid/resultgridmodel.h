// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/grid.h"

#include <QAbstractTableModel>
#include <QColor>
#include <array>

namespace cr::ui {

// The result grid as a table model over the run's grid content. Changes made
// while a batch is open are announced once when it closes: one reset, or one
// ranged dataChanged over the rows touched.
class ResultGridModel final : public QAbstractTableModel, public GridObserver {
    Q_OBJECT
public:
    explicit ResultGridModel(const ResultGrid& grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void beginBatch() { ++m_batchDepth; }
    void endBatch();

    void gridReset() override;
    void gridCellChanged(int row, int column) override;
    void gridScrollToTop() override;

    static QColor colourOf(CellColour colour);
    QString accessibleText(int row, int column) const;

signals:
    void scrollToTopRequested();

private:
    void flush();

    const ResultGrid& m_grid;
    int m_shownRows;
    int m_batchDepth = 0;
    bool m_resetPending = false;
    bool m_scrollPending = false;
    int m_dirtyFirst = -1;
    int m_dirtyLast = -1;
};

} // namespace cr::ui
