// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/wheel.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cr {

// A colour as red, green and blue, 0 to 255 each.
struct Rgb {
    int red;
    int green;
    int blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Background colours of the grid cells.
enum class CellColour : std::uint8_t { LightGrey, DarkRed, DarkBlue, Green };

inline constexpr Rgb kLightGrey{224, 224, 224}; // an empty cell; the window's background too
inline constexpr Rgb kDarkRed{192, 0, 0};       // a field hit in step 1
inline constexpr Rgb kDarkBlue{0, 0, 192};      // a field hit later; the captions' colour too
inline constexpr Rgb kGreen{0, 192, 0};         // the current spin's row number; a zero's fields

Rgb rgbOf(CellColour colour);

// What a column of the grid shows: the position in the step, the spin's
// number, one side of a pair (a field), or nothing (a narrow spacer).
struct ColumnMeaning {
    enum class Kind { Position, Number, Field, Spacer };
    Kind kind = Kind::Spacer;
    Pair pair = Pair::RS; // for a field
    int side = 0;         // for a field: 1 (Rot, Manque, Gerade) or 2
};
ColumnMeaning columnMeaning(int column);
// The grid column of a pair's side: R/S 4 and 5, M/P 7 and 8, G/U 10 and 11.
int fieldColumn(Pair pair, int side);
// The names of the sides, as the grid's headings and a screen reader say them.
std::string_view sideName(Pair pair, int side);

// Told about every change of the grid, so that a view can follow it.
class GridObserver {
public:
    virtual ~GridObserver() = default;
    // Row count changed, or many cells at once.
    virtual void gridReset() = 0;
    virtual void gridCellChanged(int row, int column) = 0;
    virtual void gridScrollToTop() = 0;
};

// The result grid's content: 12 columns, one row per position of a step.
// Cells hold a whole number (the row number, a spin) or nothing, and a
// background colour. Every operation costs the same whatever the row count,
// except the bulk ones, which announce themselves as one reset.
class ResultGrid {
public:
    static constexpr int kColumns = 12;
    static constexpr int kNumberColumn = 0;
    static constexpr int kSpinColumn = 2;

    ResultGrid(); // a single empty row, as before the first run

    void setObserver(GridObserver* observer) { m_observer = observer; }
    GridObserver* observer() const { return m_observer; }
    // Tells the observer that anything may have changed.
    void announceReset() { reset(); }

    int rowCount() const { return m_rows; }
    bool hasText(int row, int column) const { return cell(row, column).number >= 0; }
    int number(int row, int column) const { return cell(row, column).number; }
    std::string text(int row, int column) const;
    CellColour colour(int row, int column) const { return cell(row, column).colour; }

    // New rows come empty and light grey; rows that stay keep their cells.
    void setRowCount(int rows);
    // Every existing row emptied and light grey; with numbered, column 0
    // holds the row numbers 1..rows again.
    void clearAll(bool numbered);
    void writeRowNumbers();
    void setNumber(int row, int column, int value);
    void setColour(int row, int column, CellColour colour);
    void scrollToTop();
    // Rows and cells as OTHER has them, announced as one reset; the observer stays.
    void assignCells(const ResultGrid& other);

private:
    struct Cell {
        int number = -1; // -1: no text
        CellColour colour = CellColour::LightGrey;
    };
    const Cell& cell(int row, int column) const {
        return m_cells[static_cast<std::size_t>(row) * kColumns + column];
    }
    Cell& cell(int row, int column) {
        return m_cells[static_cast<std::size_t>(row) * kColumns + column];
    }
    void changed(int row, int column);
    void reset();

    int m_rows = 1;
    std::vector<Cell> m_cells;
    GridObserver* m_observer = nullptr;
};

} // namespace cr
