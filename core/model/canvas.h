// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>

namespace core {

using Rgb = std::uint32_t; // 0xRRGGBB
inline constexpr Rgb kBlack = 0x000000;
// The pale green-grey of a calculator screen: the canvas's background and the artwork's.
inline constexpr Rgb kScreenColour = 0xE8F0D8;

enum class DrawMode { Copy = 13, Xor = 7 };

// What the editor logic needs from the zoomed canvas. Coordinates are in cell units.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void setForeground(Rgb colour) = 0;
    virtual Rgb background() const = 0;
    virtual void setDrawMode(DrawMode mode) = 0;
    virtual DrawMode drawMode() const = 0;

    // Fills the square of one cell, (column, row) to (column + fill, row + fill), with the
    // foreground colour in the current draw mode.
    virtual void fillCell(int column, int row, double fill) = 0;
    // Rubber-band figures, drawn in the given colour in the current draw mode.
    virtual void drawLine(double x1, double y1, double x2, double y2, Rgb colour) = 0;
    virtual void drawRectOutline(double x1, double y1, double x2, double y2, Rgb colour) = 0;
    // aspect = vertical over horizontal size; the larger radius is `radius`.
    virtual void drawEllipseOutline(double cx, double cy, double radius, double aspect,
                                    Rgb colour) = 0;
    // Paints the whole canvas in the background colour.
    virtual void clear() = 0;
};

} // namespace core
