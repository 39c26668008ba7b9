// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>
#include <cstdint>

#include "core/model/canvas.h"
#include "core/model/cell_kind.h"
#include "core/model/colour_conversion.h"

namespace core {

// How the canvas shows a palette's none: a light checker of squares this many cells a side,
// so that it never passes for white (or for any other colour, which fills a square evenly).
inline constexpr int kNoneCheckerCells = 4;
inline constexpr Rgb kNoneLight = 0xF6F6F6;
inline constexpr Rgb kNoneDark = 0xD6D6D6;

constexpr Rgb noneShade(int row, int column) {
    return ((row / kNoneCheckerCells + column / kNoneCheckerCells) & 1) ? kNoneDark : kNoneLight;
}

// The palette's colours as 0xRRGGBB, looked up once per cell.
inline constexpr auto kPaletteRgb = [] {
    std::array<Rgb, kCePalette.size()> table{};
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = rgbOf565(kCePalette[i].rgb565);
    return table;
}();

// The colour the canvas gives the square of the cell at (row, column): a monochrome dark cell
// black and a clear one the background; a palette index its colour (none, or a value the
// palette lacks, the checker); an RGB565 cell its colour.
constexpr Rgb shownCellColour(std::int16_t cell, CellKind kind, int row, int column,
                              Rgb background) {
    switch (kind) {
    case CellKind::Monochrome:
        return cell == 1 ? kBlack : background;
    case CellKind::Palette:
        return cell > 0 && cell < std::int16_t(kPaletteRgb.size()) ? kPaletteRgb[size_t(cell)]
                                                                   : noneShade(row, column);
    case CellKind::Rgb565:
        return rgbOf565(std::uint16_t(cell));
    }
    return background;
}

} // namespace core
