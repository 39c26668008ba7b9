// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>
#include <string_view>

#include "core/model/format_id.h"

namespace core {

// What the two programs' editor cores differ in, as data.
struct CalculatorProfile {
    std::string_view appName;  // "Dotwell"
    std::string_view appTitle; // main window title, "Dotwell 2.6"
    int rows;
    int columns;
    double cellFill;              // part of a cell a dark pixel covers on screen
    double circleVerticalDivisor; // circle tool: y = R sin t / divisor
    double ellipseVerticalFactor; // ellipse tool: y multiplied by this
    double previewCircleAspect;   // rubber-band circle aspect
    int defaultZoom;              // screen pixels per cell at start-up
    FormatId newFormat;           // the format of a new picture

    // Import: how a small picture is centred and how far the scan reaches.
    bool importScansOnePast; // scan one row and column past a small picture
    int importRowCentre;     // row offset = centre - h / 2 for a small picture
    int importColumnCentre;
    int importLargeRows; // a picture this tall or taller fills from the top
    int importLargeColumns;
    bool importToolbarOnNo; // the toolbar turns "edited" even when the import is declined

    // The information windows: the About window's line on what the program does, and the
    // Help window's instruction labels in their order on the form (Label2, 3, 4, 5, 7, 9).
    std::string_view aboutLine;
    std::array<std::string_view, 6> helpTexts;
    // A further Help label (Label8, after Label9) names the newer calculators' files from the
    // format registry; this is what it adds about them.
    std::string_view helpNewerCalculators;

    static const CalculatorProfile& dotwell();
    static const CalculatorProfile& pixvane();
};

} // namespace core
