// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/grid.h"

#include <algorithm>

namespace cr {

Rgb rgbOf(CellColour colour) {
    switch (colour) {
    case CellColour::LightGrey:
        return kLightGrey;
    case CellColour::DarkRed:
        return kDarkRed;
    case CellColour::DarkBlue:
        return kDarkBlue;
    case CellColour::Green:
        return kGreen;
    }
    return kLightGrey;
}

ColumnMeaning columnMeaning(int column) {
    using Kind = ColumnMeaning::Kind;
    if (column == ResultGrid::kNumberColumn) {
        return {Kind::Position};
    }
    if (column == ResultGrid::kSpinColumn) {
        return {Kind::Number};
    }
    const int offset = column - fieldColumn(Pair::RS, 1);
    if (offset < 0 || column >= ResultGrid::kColumns || offset % 3 == 2) {
        return {Kind::Spacer};
    }
    return {Kind::Field, static_cast<Pair>(offset / 3), offset % 3 + 1};
}

int fieldColumn(Pair pair, int side) {
    return 4 + 3 * static_cast<int>(pair) + (side - 1);
}

std::string_view sideName(Pair pair, int side) {
    static constexpr std::array<std::array<std::string_view, 2>, kPairCount> kNames{{
        {"Rot", "Schwarz"},
        {"Manque", "Passe"},
        {"Gerade", "Ungerade"},
    }};
    return kNames[static_cast<std::size_t>(pair)][static_cast<std::size_t>(side - 1)];
}

ResultGrid::ResultGrid() : m_cells(kColumns) {}

std::string ResultGrid::text(int row, int column) const {
    const int n = cell(row, column).number;
    return n < 0 ? std::string() : std::to_string(n);
}

void ResultGrid::setRowCount(int rows) {
    rows = std::max(rows, 0);
    m_rows = rows;
    m_cells.resize(static_cast<std::size_t>(rows) * kColumns);
    reset();
}

void ResultGrid::clearAll(bool numbered) {
    std::fill(m_cells.begin(), m_cells.end(), Cell{});
    if (numbered) {
        for (int r = 0; r < m_rows; ++r) {
            cell(r, kNumberColumn).number = r + 1;
        }
    }
    reset();
}

void ResultGrid::writeRowNumbers() {
    for (int r = 0; r < m_rows; ++r) {
        cell(r, kNumberColumn).number = r + 1;
    }
    reset();
}

void ResultGrid::setNumber(int row, int column, int value) {
    cell(row, column).number = value;
    changed(row, column);
}

void ResultGrid::setColour(int row, int column, CellColour colour) {
    cell(row, column).colour = colour;
    changed(row, column);
}

void ResultGrid::scrollToTop() {
    if (m_observer) {
        m_observer->gridScrollToTop();
    }
}

void ResultGrid::changed(int row, int column) {
    if (m_observer) {
        m_observer->gridCellChanged(row, column);
    }
}

void ResultGrid::reset() {
    if (m_observer) {
        m_observer->gridReset();
    }
}

void ResultGrid::assignCells(const ResultGrid& other) {
    m_rows = other.m_rows;
    m_cells = other.m_cells;
    reset();
}

} // namespace cr
