#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace core {

// 0 = inert (no tool armed), 1..12 = the menu's tools. Odd tools set cells, even ones clear.
using DrawTool = std::int16_t;

enum class ShapeKind { Freehand, Line, Box, Bar, Circle, Ellipse };

struct DrawToolInfo {
    DrawTool number;
    std::string_view caption;
    ShapeKind kind;
    // Subtracting it turns the tool into Pen (1) or Erase (2) while a shape is plotted.
    DrawTool offset;
};

inline constexpr std::array<DrawToolInfo, 12> kDrawTools{{
    {1, "Pen", ShapeKind::Freehand, 0},
    {2, "Erase", ShapeKind::Freehand, 0},
    {3, "Line", ShapeKind::Line, 2},
    {4, "WhLine", ShapeKind::Line, 2},
    {5, "Box", ShapeKind::Box, 4},
    {6, "WhBox", ShapeKind::Box, 4},
    {7, "Bar", ShapeKind::Bar, 6},
    {8, "WhBar", ShapeKind::Bar, 6},
    {9, "Circle", ShapeKind::Circle, 8},
    {10, "WhCircle", ShapeKind::Circle, 8},
    {11, "Ellipse", ShapeKind::Ellipse, 10},
    {12, "WhEllipse", ShapeKind::Ellipse, 10},
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
