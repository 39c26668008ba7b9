// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <optional>
#include <utility>
#include <vector>

#include <QRect>

#include "core/model/canvas.h"
#include "core/model/cell_rect.h"

class QPainter;

namespace core {

// What the canvas shows over the cells without being part of them, so the surface (which a
// bitmap export copies) stays the picture alone: the grid between cells, the selection's
// marching ants, the text being typed and its caret, the keyboard's cell cursor.
struct CanvasOverlay {
    bool grid = false;
    std::optional<CellRect> outline;            // the selection, or the rectangle being dragged out
    int antsPhase = 0;                          // where the dashes of the outline start
    std::vector<std::pair<int, int>> textCells; // (column, row) of the text being typed
    Rgb textColour = kBlack;                    // the ink the text is typed in
    std::optional<CellRect> caret;
    std::optional<std::pair<int, int>> cursor; // (column, row)
    double cellFill = 0.8;                     // the part of a cell a dark square covers

    // Paints the marks that fall in `area` (widget pixels) at `zoom` pixels per cell.
    void paint(QPainter& painter, const QRect& area, int zoom) const;
    // The widget pixels an outline at this zoom covers, for a repaint of it alone.
    static QRect outlinePixels(const CellRect& rect, int zoom);
};

} // namespace core
