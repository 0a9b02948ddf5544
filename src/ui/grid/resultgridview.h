// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

namespace cr::ui {

class ResultGridModel;

// Paints a cell flat: its background, its centred text and its grid lines
// (grey, light grey in the row-number column). No focus or selection look.
class ResultCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// The result grid: fixed column widths and row heights, no headers, never
// scrolls by itself.
class ResultGridView final : public QTableView {
public:
    static constexpr int kRowHeight = 16;
    explicit ResultGridView(ResultGridModel* model, QWidget* parent);
};

} // namespace cr::ui
