// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>
#include <vector>

#include "core/model/pixel_grid.h"

namespace core {

// How Convert Image turns a picture, already scaled to the grid, into dark and clear cells.
enum class Dither { None, FloydSteinberg, Atkinson, Ordered4, Ordered8 };

struct ConversionOptions {
    int threshold = 128; // a cell is dark when its (dithered) grey is below this
    Dither dither = Dither::FloydSteinberg;
    bool invert = false; // dark and clear swapped after that; cells off the picture stay clear
};

// A picture at grid size: one grey value 0..255 per cell, row by row, or kNoPicture where the
// placed picture does not reach (Fit leaves a margin); such cells always come out clear.
struct GreyCells {
    int rows = 0;
    int columns = 0;
    std::vector<std::int16_t> grey;
    static constexpr std::int16_t kNoPicture = -1;

    std::int16_t at(int row, int column) const { return grey[size_t(row * columns + column)]; }
};

// The grey of one pixel: alpha composited over white, then (299 R + 587 G + 114 B + 500) / 1000.
std::uint8_t greyOf(int red, int green, int blue, int alpha = 255);

// The cells, 1 dark and 0 clear, of a grid the size of `cells`.
PixelGrid convertCells(const GreyCells& cells, const ConversionOptions& options);

// Otsu's threshold over the cells that hold picture: the grey levels below it and from it up
// are the two classes most apart. 128 when there is nothing to part.
int otsuThreshold(const GreyCells& cells);

} // namespace core
