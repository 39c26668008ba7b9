// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace core {

// 0 = inert (no tool armed), 1..17 = the menu's tools. Odd tools set cells, even ones clear;
// Select (17), which plots nothing, keeps the numbering's rule by its place.
using DrawTool = std::int16_t;

enum class ShapeKind { Freehand, Line, Box, Bar, Circle, Ellipse, Fill, Text, Select };

// What a tool does to the cells it plots.
enum class Ink { Set, Clear };

struct DrawToolInfo {
    DrawTool number;
    std::string_view caption;
    ShapeKind kind;
    Ink ink;
    char key; // the key that chooses it while the canvas has the focus; 0 for none
};

inline constexpr std::array<DrawToolInfo, 17> kDrawTools{{
    {1, "Pen", ShapeKind::Freehand, Ink::Set, 'P'},
    {2, "Erase", ShapeKind::Freehand, Ink::Clear, 'E'},
    {3, "Line", ShapeKind::Line, Ink::Set, 'L'},
    {4, "WhLine", ShapeKind::Line, Ink::Clear, 0},
    {5, "Box", ShapeKind::Box, Ink::Set, 'R'},
    {6, "WhBox", ShapeKind::Box, Ink::Clear, 0},
    {7, "Bar", ShapeKind::Bar, Ink::Set, 'B'},
    {8, "WhBar", ShapeKind::Bar, Ink::Clear, 0},
    {9, "Circle", ShapeKind::Circle, Ink::Set, 'C'},
    {10, "WhCircle", ShapeKind::Circle, Ink::Clear, 0},
    {11, "Ellipse", ShapeKind::Ellipse, Ink::Set, 'O'},
    {12, "WhEllipse", ShapeKind::Ellipse, Ink::Clear, 0},
    {13, "Fill", ShapeKind::Fill, Ink::Set, 'F'},
    {14, "WhFill", ShapeKind::Fill, Ink::Clear, 0},
    {15, "Text", ShapeKind::Text, Ink::Set, 'T'},
    {16, "WhText", ShapeKind::Text, Ink::Clear, 0},
    {17, "Select", ShapeKind::Select, Ink::Set, 'S'},
}};

inline constexpr DrawTool kPen = 1;
inline constexpr DrawTool kErase = 2;
inline constexpr DrawTool kFill = 13;
inline constexpr DrawTool kText = 15;
inline constexpr DrawTool kSelect = 17;
// The tools the calculator programs always had; the rest come after them in every menu.
inline constexpr DrawTool kFirstAddedTool = 13;
inline constexpr DrawTool kToolCount = 17;

inline constexpr bool isTool(DrawTool tool) {
    return tool >= 1 && tool <= kToolCount;
}
inline constexpr bool isShapeTool(DrawTool tool) {
    return tool >= 3 && tool <= 12;
}
inline constexpr const DrawToolInfo& toolInfo(DrawTool tool) {
    return kDrawTools[size_t(tool - 1)];
}
// Text and Select: their presses, drags and releases are handled outside the tool controller.
inline constexpr bool isGestureTool(DrawTool tool) {
    return tool == 15 || tool == 16 || tool == kSelect;
}
// The same tool in the other ink, as the swap key of paint programs gives it (Line and WhLine);
// Select has no twin.
inline constexpr DrawTool inkTwin(DrawTool tool) {
    if (!isTool(tool) || tool == kSelect)
        return tool;
    return tool % 2 == 1 ? DrawTool(tool + 1) : DrawTool(tool - 1);
}

} // namespace core
