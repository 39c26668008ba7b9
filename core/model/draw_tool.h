// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace core {

// 0 = inert (no tool armed), 1..12 = the menu's tools. Odd tools set cells, even ones clear.
using DrawTool = std::int16_t;

enum class ShapeKind { Freehand, Line, Box, Bar, Circle, Ellipse };

// What a tool does to the cells it plots.
enum class Ink { Set, Clear };

struct DrawToolInfo {
    DrawTool number;
    std::string_view caption;
    ShapeKind kind;
    Ink ink;
};

inline constexpr std::array<DrawToolInfo, 12> kDrawTools{{
    {1, "Pen", ShapeKind::Freehand, Ink::Set},
    {2, "Erase", ShapeKind::Freehand, Ink::Clear},
    {3, "Line", ShapeKind::Line, Ink::Set},
    {4, "WhLine", ShapeKind::Line, Ink::Clear},
    {5, "Box", ShapeKind::Box, Ink::Set},
    {6, "WhBox", ShapeKind::Box, Ink::Clear},
    {7, "Bar", ShapeKind::Bar, Ink::Set},
    {8, "WhBar", ShapeKind::Bar, Ink::Clear},
    {9, "Circle", ShapeKind::Circle, Ink::Set},
    {10, "WhCircle", ShapeKind::Circle, Ink::Clear},
    {11, "Ellipse", ShapeKind::Ellipse, Ink::Set},
    {12, "WhEllipse", ShapeKind::Ellipse, Ink::Clear},
}};

inline constexpr DrawTool kPen = 1;
inline constexpr DrawTool kErase = 2;

inline constexpr bool isTool(DrawTool tool) {
    return tool >= 1 && tool <= 12;
}
inline constexpr bool isShapeTool(DrawTool tool) {
    return tool >= 3 && tool <= 12;
}
inline constexpr const DrawToolInfo& toolInfo(DrawTool tool) {
    return kDrawTools[tool - 1];
}

} // namespace core
