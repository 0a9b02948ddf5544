// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/summary.h"

#include <QAbstractTableModel>
#include <QString>
#include <string>
#include <vector>

namespace cr::ui {

// The rows of "Auswertung" as a table: a row per step, the columns of
// summaryTitles(), numbers as summaryCells() writes them, and a deviation
// that stands out on a red background. No columns until a result is shown.
class SummaryModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SummaryModel(QObject* parent = nullptr);

    void setRows(std::vector<analysis::SummaryRow> rows, const QString& decimalSeparator);
    void clear();
    const std::vector<analysis::SummaryRow>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const std::string& cell(int row, int column) const;
    bool standsOut(int row, int column) const;

    std::vector<analysis::SummaryRow> m_rows;
    QStringList m_titles; // empty until a result is shown
    std::string m_separator;
    // The cells of the row asked for last: a view asks a row's cells in turn.
    mutable int m_cachedRow = -1;
    mutable std::vector<std::string> m_cachedCells;
};

} // namespace cr::ui
