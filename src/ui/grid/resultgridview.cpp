// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/resultgridview.h"

#include "ui/common/palette.h"
#include "ui/common/twips.h"
#include "ui/grid/resultgridmodel.h"

#include <QHeaderView>
#include <QPainter>
#include <array>

namespace cr::ui {

namespace {

constexpr std::array<int, 12> kColumnTwips{550, 50,  300, 70,  200, 200,
                                           250, 200, 200, 250, 200, 200};

} // namespace

void ResultCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QRect r = option.rect;
    painter->fillRect(r, index.data(Qt::BackgroundRole).value<QColor>());
    const QVariant text = index.data(Qt::DisplayRole);
    if (text.isValid()) {
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        painter->setFont(option.font);
        painter->drawText(r, Qt::AlignHCenter | Qt::AlignTop, text.toString());
    }
    painter->setPen(columnMeaning(index.column()).kind == ColumnMeaning::Kind::Position
                        ? colours::kBackground
                        : colours::kGridLine);
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
}

ResultGridView::ResultGridView(ResultGridModel* gridModel, QWidget* parent) : QTableView(parent) {
    setModel(gridModel);
    setItemDelegate(new ResultCellDelegate(this));
    setShowGrid(false);
    setSelectionMode(QAbstractItemView::NoSelection);
    // One stop in the tab order: Tab leaves the grid instead of walking its cells.
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setAutoScroll(false);
    setFrameShape(QFrame::Box);
    setWordWrap(false);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    // Widths from rounded column edges, so the pixel columns add up.
    int edge = 0;
    for (int c = 0; c < static_cast<int>(kColumnTwips.size()); ++c) {
        const int next = edge + kColumnTwips[static_cast<std::size_t>(c)];
        setColumnWidth(c, px(next) - px(edge));
        edge = next;
    }
    QPalette pal = palette();
    pal.setColor(QPalette::Base, colours::kBackground);
    pal.setColor(QPalette::Window, colours::kBackground);
    setPalette(pal);
    connect(gridModel, &ResultGridModel::scrollToTopRequested, this, [this] {
        if (model()->rowCount() > 0) {
            setCurrentIndex(model()->index(0, 0));
        }
        scrollToTop();
    });
}

} // namespace cr::ui
