// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>

namespace core {

struct CellPoint {
    double x = 0; // cell units, fractions kept
    double y = 0;
    bool operator==(const CellPoint&) const = default;
};

// Receives each cell a rasteriser visits, in order; cells may repeat and may lie off the grid.
using CellSink = std::function<void(int column, int row)>;

// Floors a cell coordinate into a cell index, saturating far outside any grid so that a
// pointer miles off the canvas never overflows.
int cellIndex(double coordinate);

// Freehand segment from the anchor to cell (c, r); returns the new anchor. The first segment
// after a press starts at the fractional press point and may stop short of (c, r).
CellPoint freehandSegment(CellPoint anchor, int c, int r, const CellSink& plot);

void rasterLine(CellPoint anchor, CellPoint drag, const CellSink& plot);
void rasterBox(CellPoint anchor, CellPoint drag, const CellSink& plot);
void rasterBar(CellPoint anchor, CellPoint drag, const CellSink& plot);
void rasterCircle(CellPoint centre, double radius, double verticalDivisor, const CellSink& plot);
void rasterEllipse(CellPoint anchor, CellPoint drag, double radius, double verticalFactor,
                   const CellSink& plot);

// Vertical over horizontal size of the ellipse tool's figure; 1000 for a vertical drag.
double ellipseAspect(CellPoint anchor, CellPoint drag);

} // namespace core
