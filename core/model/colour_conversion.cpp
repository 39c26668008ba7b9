// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/colour_conversion.h"

#include <algorithm>
#include <span>

namespace core {
namespace {

struct Share {
    int dx, dy, weight;
};
constexpr std::array<Share, 4> kFloydSteinberg{{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}};
constexpr std::array<Share, 6> kAtkinson{
    {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}}};

constexpr std::array<std::array<int, 4>, 4> kBayer4{{
    {0, 8, 2, 10},
    {12, 4, 14, 6},
    {3, 11, 1, 9},
    {15, 7, 13, 5},
}};

int rankIn(int n, int y, int x) {
    if (n == 4)
        return kBayer4[size_t(y % 4)][size_t(x % 4)];
    return 4 * kBayer4[size_t(y % 4)][size_t(x % 4)] +
           std::array{0, 2, 3, 1}[size_t(((y % 8) / 4) * 2 + (x % 8) / 4)];
}

int channel(Rgb c, int shift) {
    return int(c >> shift & 0xFF);
}

// A channel over white at this alpha.
int overWhite(int c, int alpha) {
    return (c * alpha + 255 * (255 - alpha) + 127) / 255;
}

// The nearest colour of the grid's kind: the cell and the colour it shows.
struct Nearest {
    std::int16_t cell;
    Rgb shown;
};

Nearest nearestOf(CellKind kind, int r, int g, int b) {
    r = std::clamp(r, 0, 255);
    g = std::clamp(g, 0, 255);
    b = std::clamp(b, 0, 255);
    if (kind == CellKind::Palette) {
        const int index = nearestPaletteIndex(r, g, b);
        return {std::int16_t(index), paletteRgb(index)};
    }
    const std::uint16_t c = rgb565Of(r, g, b);
    return {std::int16_t(c), rgbOf565(c)};
}

} // namespace

int colourDistance(Rgb a, Rgb b) {
    const int r1 = channel(a, 16), r2 = channel(b, 16);
    const int meanRed = (r1 + r2) / 2;
    const int dr = r1 - r2, dg = channel(a, 8) - channel(b, 8), db = channel(a, 0) - channel(b, 0);
    return (512 + meanRed) * dr * dr + 4 * 256 * dg * dg + (767 - meanRed) * db * db;
}

int nearestPaletteIndex(int red, int green, int blue) {
    const Rgb colour = Rgb(red) << 16 | Rgb(green) << 8 | Rgb(blue);
    int best = 1;
    int bestDistance = colourDistance(colour, paletteRgb(1));
    for (int i = 2; i < int(kCePalette.size()); ++i) {
        if (const int d = colourDistance(colour, paletteRgb(i)); d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

PixelGrid convertColourCells(const ColourCells& cells, CellKind kind,
                             const ConversionOptions& options, bool whiteIsNone) {
    const int rows = cells.rows, columns = cells.columns;
    PixelGrid out(rows, columns);
    // Each cell's colour over white (or none), channels times `divisor` so that the shares of
    // an error stay whole numbers.
    const bool diffusing =
        options.dither == Dither::FloydSteinberg || options.dither == Dither::Atkinson;
    const int divisor = options.dither == Dither::FloydSteinberg ? 16
                        : options.dither == Dither::Atkinson     ? 8
                                                                 : 1;
    std::vector<std::array<int, 3>> value(size_t(rows * columns));
    std::vector<bool> none(size_t(rows * columns), false);
    for (size_t i = 0; i < value.size(); ++i) {
        const std::uint32_t p = cells.argb[i];
        const int alpha = int(p >> 24);
        if (kind == CellKind::Palette && alpha < 128) {
            none[i] = true;
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            int c = overWhite(int(p >> (16 - 8 * k) & 0xFF), alpha);
            if (options.invert)
                c = 255 - c;
            value[i][size_t(k)] = c * divisor;
        }
    }
    // How far an ordered tile moves a colour: about the steps between the colours it chooses from.
    const int spread = kind == CellKind::Palette ? 64 : 8;
    const int n = options.dither == Dither::Ordered4 ? 4 : 8;
    const std::span<const Share> shares = options.dither == Dither::FloydSteinberg
                                              ? std::span<const Share>(kFloydSteinberg)
                                              : std::span<const Share>(kAtkinson);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            const size_t i = size_t(y * columns + x);
            if (none[i]) {
                out.set(y, x, kPaletteNone);
                continue;
            }
            std::array<int, 3> c = value[i];
            if (options.dither == Dither::Ordered4 || options.dither == Dither::Ordered8) {
                const int shift = spread * (2 * rankIn(n, y, x) + 1 - n * n) / (2 * n * n);
                for (int& v : c)
                    v += shift;
            }
            const auto round = [&](int v) { return (v + divisor / 2) / divisor; };
            const Nearest chosen =
                nearestOf(kind, diffusing ? round(c[0]) : c[0], diffusing ? round(c[1]) : c[1],
                          diffusing ? round(c[2]) : c[2]);
            out.set(y, x, chosen.cell);
            if (!diffusing)
                continue;
            for (int k = 0; k < 3; ++k) {
                const int error = c[size_t(k)] - channel(chosen.shown, 16 - 8 * k) * divisor;
                for (const Share& s : shares) {
                    const int nx = x + s.dx, ny = y + s.dy;
                    if (nx < 0 || nx >= columns || ny >= rows || none[size_t(ny * columns + nx)])
                        continue;
                    value[size_t(ny * columns + nx)][size_t(k)] +=
                        error * s.weight * options.strength / (divisor * 100);
                }
            }
        }
    }
    if (whiteIsNone && kind == CellKind::Palette) {
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < columns; ++x)
                if (out.at(y, x) == kPaletteWhite)
                    out.set(y, x, kPaletteNone);
    }
    return out;
}

PixelGrid colourFromMonochrome(const PixelGrid& mono, int rows, int columns, CellKind kind,
                               bool whiteIsNone) {
    const bool palette = kind == CellKind::Palette;
    const std::int16_t dark = palette ? std::int16_t(kPaletteBlack) : std::int16_t(0x0000);
    const std::int16_t clear =
        palette ? std::int16_t(whiteIsNone ? kPaletteNone : kPaletteWhite) : std::int16_t(0xFFFF);
    PixelGrid out(rows, columns);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            out.set(y, x, mono.contains(y, x) && mono.at(y, x) == 1 ? dark : clear);
    return out;
}

std::uint32_t argbOfCell(std::int16_t cell, CellKind kind) {
    switch (kind) {
    case CellKind::Monochrome:
        return cell == 1 ? 0xFF000000u : 0xFFFFFFFFu;
    case CellKind::Palette:
        if (cell <= kPaletteNone || cell >= int(kCePalette.size()))
            return 0x00000000u; // none, and anything the palette lacks
        return 0xFF000000u | paletteRgb(cell);
    case CellKind::Rgb565:
        return 0xFF000000u | rgbOf565(std::uint16_t(cell));
    }
    return 0;
}

} // namespace core
