// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/model/canvas.h"
#include "core/model/cell_kind.h"
#include "core/model/picture_conversion.h"
#include "core/model/pixel_grid.h"

namespace core {

struct PaletteColour {
    std::uint16_t rgb565;
    std::string_view name;
};

// The fifteen colours of the TI-84 Plus CE (and C Silver Edition) graph screen as RGB565, from
// the calculators' table of predefined colours as WikiTI documents it ("84PCSE:RAM:A03A",
// https://wikiti.brandonw.net/index.php?title=84PCSE:RAM:A03A). Index 0 is no colour: a
// picture's cell that RecallPic leaves as the screen was.
inline constexpr std::array<PaletteColour, 16> kCePalette{{
    {0xFFFF, "none"},
    {0x001F, "blue"},
    {0xF800, "red"},
    {0x0000, "black"},
    {0xF81F, "magenta"},
    {0x04E0, "green"},
    {0xFC64, "orange"},
    {0xB100, "brown"},
    {0x0010, "navy"},
    {0x049F, "light blue"},
    {0xFFE0, "yellow"},
    {0xFFFF, "white"},
    {0xE71C, "light grey"},
    {0xC618, "medium grey"},
    {0x8C51, "grey"},
    {0x52AA, "dark grey"},
}};
inline constexpr int kPaletteNone = 0;
inline constexpr int kPaletteBlack = 3;
inline constexpr int kPaletteWhite = 11;

// RGB565 to 0xRRGGBB, each channel to the nearest of 256 levels: 0 stays 0, full is 255.
constexpr Rgb rgbOf565(std::uint16_t c) {
    const unsigned r = c >> 11 & 0x1F, g = c >> 5 & 0x3F, b = c & 0x1F;
    return Rgb((r * 255 + 15) / 31 << 16 | (g * 255 + 31) / 63 << 8 | (b * 255 + 15) / 31);
}
// Each channel to the nearest of its 32 or 64 levels: the inverse of rgbOf565 on its colours.
constexpr std::uint16_t rgb565Of(int red, int green, int blue) {
    return std::uint16_t(((red * 31 + 127) / 255) << 11 | ((green * 63 + 127) / 255) << 5 |
                         (blue * 31 + 127) / 255);
}
inline Rgb paletteRgb(int index) {
    return rgbOf565(kCePalette[size_t(index)].rgb565);
}

// The palette colour (1..15) nearest to this one as the eye sees it: the nearest in OKLab, a
// perceptual colour space. A palette colour is its own nearest, so a picture made of palette
// colours converts exactly.
int nearestPaletteIndex(int red, int green, int blue);

// A picture at grid size in colour, 0xAARRGGBB per cell, row by row; cells the placed picture
// does not reach are fully transparent.
struct ColourCells {
    int rows = 0;
    int columns = 0;
    std::vector<std::uint32_t> argb;

    std::uint32_t at(int row, int column) const { return argb[size_t(row * columns + column)]; }
};

// The cells of a colour grid of the size of `cells`, as Convert Image makes them for a colour
// calculator: palette indexes (a cell under half opaque is none, the rest over white) or
// RGB565 colours (over white). The tone is the grey conversion's curve on each channel (Levels
// reads the cells' greys), then `invert` takes each channel's complement. `dither` None takes
// the nearest colour: each channel rounded for RGB565, the palette colour nearest in OKLab, a
// perceptual colour space; the error diffusions pass on `strength` percent of each cell's
// error in OKLab (serpentine when asked); the ordered ones shift each cell's colour by its
// place in the tile before taking the nearest. `whiteIsNone` makes white palette cells none.
PixelGrid convertColourCells(const ColourCells& cells, CellKind kind,
                             const ConversionOptions& options, bool whiteIsNone = false);

// A monochrome picture on a colour grid of rows x columns: its cells at the top left, where
// RecallPic puts them, dark ones black, the rest white (or none where `whiteIsNone`).
PixelGrid colourFromMonochrome(const PixelGrid& mono, int rows, int columns, CellKind kind,
                               bool whiteIsNone);

// A colour cell as 0xAARRGGBB: a palette's none is transparent.
std::uint32_t argbOfCell(std::int16_t cell, CellKind kind);

} // namespace core
