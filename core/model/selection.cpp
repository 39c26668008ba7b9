// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/selection.h"

#include <algorithm>

#include "core/model/picture_operations.h"

namespace core {

void Selection::lift(const PixelGrid& picture, const CellRect& area, std::int16_t paper) {
    const CellRect cut = area.intersected({0, 0, picture.columns(), picture.rows()});
    if (cut.empty()) {
        drop();
        return;
    }
    m_active = true;
    m_rect = cut;
    m_cells = cellsIn(picture, cut);
    m_under = picture;
    placeCells(m_under, PixelGrid(cut.rows, cut.columns, paper), cut.left, cut.top);
}

void Selection::floatCells(const PixelGrid& picture, const PixelGrid& cells, int left, int top) {
    m_active = true;
    m_rect = {left, top, cells.columns(), cells.rows()};
    m_cells = cells;
    m_under = picture;
}

void Selection::drop() {
    m_active = false;
    m_rect = {};
    m_cells = PixelGrid(0, 0);
    m_under = PixelGrid(0, 0);
}

CellRect Selection::movedBy(int columns, int rows) const {
    CellRect moved = m_rect;
    moved.left = std::clamp(m_rect.left + columns, 1 - m_rect.columns, m_under.columns() - 1);
    moved.top = std::clamp(m_rect.top + rows, 1 - m_rect.rows, m_under.rows() - 1);
    return moved;
}

void Selection::moveTo(int left, int top) {
    m_rect.left = left;
    m_rect.top = top;
}

void Selection::setCells(const PixelGrid& cells) {
    m_cells = cells;
}

PixelGrid Selection::composed() const {
    PixelGrid picture = m_under;
    placeCells(picture, m_cells, m_rect.left, m_rect.top);
    return picture;
}

} // namespace core
