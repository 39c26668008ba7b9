#pragma once

#include <cstdint>
#include <algorithm>
#include <vector>

namespace core {

// The picture: rows x columns cells, row 0 at the top, 1 = dark calculator pixel, 0 = clear.
// The single source of truth that the canvas, the file formats and the printer read.
class PixelGrid {
public:
    PixelGrid(int rows, int columns)
        : m_rows(rows), m_columns(columns), m_cells(static_cast<size_t>(rows * columns), 0) {}

    int rows() const { return m_rows; }
    int columns() const { return m_columns; }

    bool contains(int row, int column) const {
        return row >= 0 && row < m_rows && column >= 0 && column < m_columns;
    }
    std::int16_t at(int row, int column) const { return m_cells[index(row, column)]; }
    void set(int row, int column, std::int16_t value) { m_cells[index(row, column)] = value; }

    // Every cell back to 0: how the grid is "re-created" on open, ClrDraw and first press.
    void clear() { std::fill(m_cells.begin(), m_cells.end(), std::int16_t{0}); }

    bool operator==(const PixelGrid&) const = default;

private:
    size_t index(int row, int column) const { return static_cast<size_t>(row * m_columns + column); }

    int m_rows;
    int m_columns;
    std::vector<std::int16_t> m_cells;
};

} // namespace core
