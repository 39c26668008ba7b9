// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <vector>

#include "core/model/cell_kind.h"
#include "core/model/page_settings.h"
#include "core/model/pixel_grid.h"

namespace core {

inline constexpr double kTwipsPerInch = 1440;

// One rectangle on the printed page, in twips from the printable area's top-left corner.
struct PrintRect {
    float x1, y1, x2, y2;
    bool filled;  // filled black square, or the outline frame
    int penWidth; // device pixels; for the frame
    bool operator==(const PrintRect&) const = default;
};

// The largest margin or image width that prints, in inches. Beyond it the coordinates handed
// to the printer in single precision would lose the picture's cells, and a printer or PDF
// file takes no page anywhere near that size.
inline constexpr double kLargestPrintInches = 1000;

// The settings place the picture where a printer can draw it: every value finite, none
// negative or beyond kLargestPrintInches.
bool printable(const PageSettings& settings);

// The whole page: one black square of three quarters of the pitch per dark cell, row by row,
// then a frame 10 twips outside the picture. A colour picture's page is the frame alone: its
// cells print as an image filling pictureArea.
std::vector<PrintRect> printPage(const PixelGrid& grid, const PageSettings& settings,
                                 CellKind kind = CellKind::Monochrome);

// Where the cells lie on the page, a whole pitch each, in twips.
PrintRect pictureArea(const PixelGrid& grid, const PageSettings& settings);

} // namespace core
