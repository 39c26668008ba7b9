// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <string>
#include <string_view>

namespace core {

// Where the printed picture lies and how wide it is, in inches. One per run, never saved.
struct PageSettings {
    double topMargin = 1;
    double leftMargin = 1;
    double imageWidth = 4;
};

// A Page Setup field's lower limit and the text that replaces a value below it.
struct FieldFloor {
    double minimum;
    std::string_view replacement;
};
inline constexpr FieldFloor kMarginFloor{0, "0"};
inline constexpr FieldFloor kWidthFloor{0.1, "0.1"};

// The replacement text when the field's value lies below its floor, else empty.
std::string floorReplacement(std::string_view fieldText, FieldFloor floor);

// The text an arrow click leaves in a field: its value plus the step, in the signed form.
std::string steppedText(std::string_view fieldText, double step);

} // namespace core
