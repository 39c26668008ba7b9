// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "tests/support/grid_pictures.h"

#include <algorithm>

namespace testing_support {

std::string gridPicture(const core::PixelGrid& grid, int top, int left, int rows, int columns) {
    std::string out;
    for (int r = top; r < top + rows; ++r) {
        for (int c = left; c < left + columns; ++c)
            out += grid.contains(r, c) && grid.at(r, c) == 1 ? '#' : '.';
        out += '\n';
    }
    return out;
}

std::string cellsPicture(const std::vector<std::pair<int, int>>& cells, int top, int left, int rows,
                         int columns) {
    std::string out;
    for (int r = top; r < top + rows; ++r) {
        for (int c = left; c < left + columns; ++c) {
            const bool hit = std::find(cells.begin(), cells.end(), std::pair{c, r}) != cells.end();
            out += hit ? '#' : '.';
        }
        out += '\n';
    }
    return out;
}

int darkCells(const core::PixelGrid& grid) {
    int n = 0;
    for (int r = 0; r < grid.rows(); ++r)
        for (int c = 0; c < grid.columns(); ++c)
            n += grid.at(r, c);
    return n;
}

std::string picture(std::initializer_list<const char*> rows) {
    std::string out;
    for (const char* row : rows) {
        out += row;
        out += '\n';
    }
    return out;
}

core::PixelGrid gridFrom(std::initializer_list<const char*> rows) {
    const int columns = rows.size() ? int(std::string(*rows.begin()).size()) : 0;
    core::PixelGrid grid(int(rows.size()), columns);
    int r = 0;
    for (const char* row : rows) {
        for (int c = 0; c < columns && row[c]; ++c)
            grid.set(r, c, row[c] == '#' ? 1 : 0);
        ++r;
    }
    return grid;
}

} // namespace testing_support
