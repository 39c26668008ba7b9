// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <algorithm>
#include <cstdlib>

namespace core {

// A rectangle of whole cells: its top-left cell and its size. It may reach past the picture's
// edges (a selection moved partly off it).
struct CellRect {
    int left = 0;
    int top = 0;
    int columns = 0;
    int rows = 0;

    int right() const { return left + columns; } // one past the last column
    int bottom() const { return top + rows; }    // one past the last row
    bool empty() const { return columns <= 0 || rows <= 0; }
    bool contains(int column, int row) const {
        return column >= left && column < right() && row >= top && row < bottom();
    }
    CellRect intersected(const CellRect& other) const {
        const int l = std::max(left, other.left), t = std::max(top, other.top);
        const int r = std::min(right(), other.right()), b = std::min(bottom(), other.bottom());
        return {l, t, std::max(0, r - l), std::max(0, b - t)};
    }
    // The rectangle with both cells as corners, whichever way round.
    static CellRect spanning(int column1, int row1, int column2, int row2) {
        return {std::min(column1, column2), std::min(row1, row2), std::abs(column2 - column1) + 1,
                std::abs(row2 - row1) + 1};
    }
    bool operator==(const CellRect&) const = default;
};

} // namespace core
