// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <string_view>

#include "core/model/cell_kind.h"
#include "core/model/cell_rect.h"
#include "core/model/pixel_grid.h"

namespace core {

// The Picture menu's operations: each keeps the size of what it acts on.
enum class PictureOperation {
    Invert,
    FlipHorizontal,
    FlipVertical,
    Rotate180,
    ShiftLeft,
    ShiftRight,
    ShiftUp,
    ShiftDown,
};

// The operation's name for the history ("Flip Horizontal").
std::string_view operationLabel(PictureOperation operation);

// The cells after the operation, in cells of `kind`. A shift drops the cells it pushes out and
// brings in paper (clear, none, white). Invert turns every dark cell clear and every other one
// dark; a palette index becomes the palette colour nearest its colour's complement (none stays
// none); an RGB565 colour takes each channel's complement.
PixelGrid transformed(const PixelGrid& cells, PictureOperation operation,
                      CellKind kind = CellKind::Monochrome);

// The palette index Invert makes of each one.
int invertedPaletteIndex(int index);

// The cells of `picture` under `area`, clear where the area reaches past the picture.
PixelGrid cellsIn(const PixelGrid& picture, const CellRect& area);

// Writes `cells` over `picture` with their top-left cell at (left, top), leaving out the
// cells that fall past the picture's edges.
void placeCells(PixelGrid& picture, const PixelGrid& cells, int left, int top);

} // namespace core
