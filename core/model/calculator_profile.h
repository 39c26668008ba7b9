#pragma once

#include <string_view>

namespace core {

// What the two programs' editor cores differ in, as data.
struct CalculatorProfile {
    enum class Program { Dotwell, Pixvane };
    Program program;
    std::string_view appName;  // "Dotwell"
    std::string_view appTitle; // main window title, "Dotwell 2.6"
    int rows;
    int columns;
    double cellFill;              // part of a cell a dark pixel covers on screen
    double circleVerticalDivisor; // circle tool: y = R sin t / divisor
    double ellipseVerticalFactor; // ellipse tool: y multiplied by this
    double previewCircleAspect;   // rubber-band circle aspect
    int defaultZoom;              // screen pixels per cell at start-up

    // Import: how a small picture is centred and how far the scan reaches.
    bool importScansOnePast; // scan one row and column past a small picture
    int importRowCentre;     // row offset = centre - h / 2 for a small picture
    int importColumnCentre;
    int importLargeRows; // a picture this tall or taller fills from the top
    int importLargeColumns;
    bool importToolbarOnNo; // the toolbar turns "edited" even when the import is declined

    static const CalculatorProfile& dotwell();
    static const CalculatorProfile& pixvane();
};

} // namespace core
