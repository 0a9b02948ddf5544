// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/resultgridmodel.h"

#include "ui/common/palette.h"

#include <algorithm>

namespace cr::ui {

ResultGridModel::ResultGridModel(const ResultGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid), m_shownRows(grid.rowCount()) {}

int ResultGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_shownRows;
}

int ResultGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ResultGrid::kColumns;
}

QColor ResultGridModel::colourOf(CellColour colour) {
    static const std::array<QColor, 4> table = [] {
        std::array<QColor, 4> t;
        for (int i = 0; i < 4; ++i) {
            t[static_cast<std::size_t>(i)] = colours::fromRgb(rgbOf(static_cast<CellColour>(i)));
        }
        return t;
    }();
    return table[static_cast<std::size_t>(colour)];
}

QVariant ResultGridModel::data(const QModelIndex& index, int role) const {
    const int row = index.row();
    const int column = index.column();
    if (!index.isValid() || row >= m_grid.rowCount() || column >= ResultGrid::kColumns) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return m_grid.hasText(row, column) ? QVariant(m_grid.number(row, column)) : QVariant();
    case Qt::BackgroundRole:
        return colourOf(m_grid.colour(row, column));
    case Qt::ForegroundRole:
        return columnMeaning(column).kind == ColumnMeaning::Kind::Position ? colours::kDarkGrey
                                                                           : colours::kDarkBlue;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignTop);
    case Qt::AccessibleTextRole:
        return accessibleText(row, column);
    default:
        return {};
    }
}

// What a screen reader says for a cell: its position, its meaning and its
// state, which the eye takes from the colour. A chance cell turns dark blue
// when its field is hit from the second step on, the first time or again.
QString ResultGridModel::accessibleText(int row, int column) const {
    if (row < 0 || row >= m_grid.rowCount() || column < 0 || column >= ResultGrid::kColumns) {
        return {};
    }
    const QString position = QStringLiteral("Position %1").arg(row + 1);
    const CellColour colour = m_grid.colour(row, column);
    const ColumnMeaning meaning = columnMeaning(column);
    switch (meaning.kind) {
    case ColumnMeaning::Kind::Position:
        return colour == CellColour::Green ? position + QStringLiteral(", aktueller Wurf")
                                           : position;
    case ColumnMeaning::Kind::Number:
        return position + (m_grid.hasText(row, column)
                               ? QStringLiteral(", Zahl %1").arg(m_grid.number(row, column))
                               : QStringLiteral(", keine Zahl"));
    case ColumnMeaning::Kind::Spacer:
        return {};
    case ColumnMeaning::Kind::Field:
        break;
    }
    const std::string_view chance = sideName(meaning.pair, meaning.side);
    const char* state = "";
    switch (colour) {
    case CellColour::LightGrey:
        state = "leer";
        break;
    case CellColour::DarkRed:
        state = "1x getroffen";
        break;
    case CellColour::DarkBlue:
        state = "in späterem Step oder erneut getroffen";
        break;
    case CellColour::Green:
        state = "Null";
        break;
    }
    return QStringLiteral("%1, %2: %3")
        .arg(position, QString::fromUtf8(chance.data(), static_cast<qsizetype>(chance.size())),
             QString::fromUtf8(state));
}

Qt::ItemFlags ResultGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void ResultGridModel::endBatch() {
    if (--m_batchDepth == 0) {
        flush();
    }
}

void ResultGridModel::gridReset() {
    m_resetPending = true;
    if (m_batchDepth == 0) {
        flush();
    }
}

void ResultGridModel::gridCellChanged(int row, int column) {
    if (m_batchDepth == 0 && !m_resetPending) {
        const QModelIndex at = index(row, column);
        emit dataChanged(at, at);
        return;
    }
    m_dirtyFirst = m_dirtyFirst < 0 ? row : std::min(m_dirtyFirst, row);
    m_dirtyLast = std::max(m_dirtyLast, row);
}

void ResultGridModel::gridScrollToTop() {
    m_scrollPending = true;
    if (m_batchDepth == 0) {
        flush();
    }
}

void ResultGridModel::flush() {
    if (m_resetPending) {
        beginResetModel();
        m_shownRows = m_grid.rowCount();
        endResetModel();
    } else if (m_dirtyFirst >= 0) {
        emit dataChanged(index(m_dirtyFirst, 0), index(m_dirtyLast, ResultGrid::kColumns - 1));
    }
    m_resetPending = false;
    m_dirtyFirst = m_dirtyLast = -1;
    if (m_scrollPending) {
        m_scrollPending = false;
        emit scrollToTopRequested();
    }
}

} // namespace cr::ui
