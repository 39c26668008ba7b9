// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include "core/model/cell_rect.h"
#include "core/model/pixel_grid.h"

namespace core {

// A rectangle of cells lifted off the picture to be moved or changed on its own, as paint
// programs float a selection. It keeps its cells and the picture under them, so a move can
// put back what it uncovers and slide over cells without losing them; the picture always
// shows the two composed (`composed`), so saving mid-move saves what is seen. Its cells are
// opaque: clear ones cover dark ones under them.
class Selection {
public:
    bool active() const { return m_active; }
    // Where it lies now; it may reach past the picture's edges.
    const CellRect& rect() const { return m_rect; }
    const PixelGrid& cells() const { return m_cells; }
    // The picture with the selection taken away: what Delete leaves.
    const PixelGrid& uncovered() const { return m_under; }

    // Lifts the cells under `area`, cut to the picture, leaving `paper` cells under them
    // (clear, or a colour picture's none or white); nothing is selected when the cut area is
    // empty.
    void lift(const PixelGrid& picture, const CellRect& area, std::int16_t paper = 0);
    // Floats new cells over `picture` with their top-left cell at (left, top), as Paste as
    // Selection brings them; the picture under them stays as it is.
    void floatCells(const PixelGrid& picture, const PixelGrid& cells, int left, int top);
    void drop();

    // Where a move by (columns, rows) takes it: no farther than leaves one of its cells on
    // the picture, so it can always be taken hold of again.
    CellRect movedBy(int columns, int rows) const;
    void moveTo(int left, int top);
    // New cells of the same size (a flip, an inversion).
    void setCells(const PixelGrid& cells);

    // The picture as it shows: the cells under, with the selection's over them.
    PixelGrid composed() const;

private:
    bool m_active = false;
    CellRect m_rect;
    PixelGrid m_cells{0, 0};
    PixelGrid m_under{0, 0};
};

} // namespace core
