// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/flood_fill.h"

#include <vector>

namespace core {

void floodRegion(const PixelGrid& picture, int column, int row, const CellSink& cell) {
    if (!picture.contains(row, column))
        return;
    const std::int16_t value = picture.at(row, column);
    const int columns = picture.columns();
    std::vector<bool> seen(size_t(picture.rows()) * size_t(columns));
    auto index = [columns](int r, int c) { return size_t(r) * size_t(columns) + size_t(c); };
    // Runs of a row at a time, with a stack of seeds instead of recursion: a whole picture is
    // one region, and a recursion as deep as its cell count would overflow the stack.
    std::vector<std::pair<int, int>> seeds{{row, column}};
    while (!seeds.empty()) {
        const auto [r, c] = seeds.back();
        seeds.pop_back();
        if (seen[index(r, c)] || picture.at(r, c) != value)
            continue;
        int left = c, right = c;
        while (left > 0 && !seen[index(r, left - 1)] && picture.at(r, left - 1) == value)
            --left;
        while (right + 1 < columns && !seen[index(r, right + 1)] &&
               picture.at(r, right + 1) == value)
            ++right;
        for (int x = left; x <= right; ++x) {
            seen[index(r, x)] = true;
            cell(x, r);
            for (const int next : {r - 1, r + 1})
                if (picture.contains(next, x) && !seen[index(next, x)] &&
                    picture.at(next, x) == value)
                    seeds.emplace_back(next, x);
        }
    }
}

} // namespace core
