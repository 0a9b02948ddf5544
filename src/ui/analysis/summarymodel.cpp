// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/summarymodel.h"

#include "analysis/tablenote.h"

#include <QBrush>
#include <QColor>

namespace cr::ui {

namespace {

const QColor kStandsOutBackground(255, 200, 200);
constexpr int kFirstCounterColumn = 3; // after step, exact mean and σ
constexpr int kColumnsPerCounter = 3;  // mean, SD, deviation

} // namespace

SummaryModel::SummaryModel(QObject* parent) : QAbstractTableModel(parent) {}

void SummaryModel::setRows(std::vector<analysis::SummaryRow> rows,
                           const QString& decimalSeparator) {
    beginResetModel();
    m_rows = std::move(rows);
    m_separator = decimalSeparator.toStdString();
    m_titles.clear();
    for (const std::string& title : analysis::summaryTitles()) {
        m_titles << QString::fromStdString(title);
    }
    m_cachedRow = -1;
    endResetModel();
}

void SummaryModel::clear() {
    beginResetModel();
    m_rows.clear();
    m_titles.clear();
    m_cachedRow = -1;
    endResetModel();
}

int SummaryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int SummaryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

const std::string& SummaryModel::cell(int row, int column) const {
    if (row != m_cachedRow) {
        m_cachedCells = analysis::summaryCells(m_rows[static_cast<std::size_t>(row)], m_separator);
        m_cachedRow = row;
    }
    return m_cachedCells[static_cast<std::size_t>(column)];
}

bool SummaryModel::standsOut(int row, int column) const {
    const int offset = column - kFirstCounterColumn;
    const int counter = offset / kColumnsPerCounter;
    if (offset < 0 || counter >= static_cast<int>(analysis::kCounters) ||
        offset % kColumnsPerCounter != 2) {
        return false;
    }
    const analysis::SummaryRow& r = m_rows[static_cast<std::size_t>(row)];
    return analysis::standsOut(r.deviation[static_cast<std::size_t>(counter)]);
}

QVariant SummaryModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(cell(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return standsOut(index.row(), index.column()) ? QVariant(QBrush(kStandsOutBackground))
                                                      : QVariant();
    default:
        return {};
    }
}

QVariant SummaryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section >= 0 && section < m_titles.size()) {
        if (role == Qt::DisplayRole) {
            return m_titles[section];
        }
        if (role == Qt::ToolTipRole) {
            // As rich text, so that the tip wraps its lines.
            const QString text = QString::fromStdString(
                analysis::columnExplanation(m_titles[section].toStdString()));
            return QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped());
        }
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace cr::ui
