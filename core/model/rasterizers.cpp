// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/rasterizers.h"

#include <cmath>
#include <limits>

namespace core {
namespace {

// "for v from a to b in steps of d": b is visited only when reached exactly. The bound on
// iterations keeps a float counter that can no longer grow (far beyond any canvas) finite.
template <class T, class Body> void countingLoop(T from, T to, T step, Body body) {
    const double span = std::fabs(static_cast<double>(to) - static_cast<double>(from));
    const double limit = span / std::fabs(static_cast<double>(step)) + 2.0;
    double done = 0;
    if (step > 0) {
        for (T v = from; v <= to && done < limit; v += step, ++done)
            body(v);
    } else {
        for (T v = from; v >= to && done < limit; v += step, ++done)
            body(v);
    }
}

template <class T> T stepToward(double from, double to) {
    return to < from ? T(-1) : T(1);
}

int roundHalfEven(double v) {
    return cellIndex(std::nearbyint(v)); // default rounding mode: halfway goes to even
}

void plotQuadrants(CellPoint centre, float x, float y, const CellSink& plot) {
    const int right = cellIndex(centre.x + x);
    const int left = cellIndex(centre.x - x);
    const int below = cellIndex(centre.y + y);
    const int above = cellIndex(centre.y - y);
    plot(right, below);
    plot(right, above);
    plot(left, below);
    plot(left, above);
}

constexpr double kQuarterTurn = 1.5707963;

template <class PointAt>
void quarterArcs(CellPoint centre, double radius, PointAt pointAt, const CellSink& plot) {
    if (!(radius > 0) || !std::isfinite(radius))
        return; // no angle step without a radius: plot nothing
    countingLoop<double>(0.0, kQuarterTurn, 0.8 / radius, [&](double t) {
        const auto [x, y] = pointAt(t);
        plotQuadrants(centre, x, y, plot);
    });
}

} // namespace

int cellIndex(double coordinate) {
    constexpr double lo = -1.0e6;
    constexpr double hi = 1.0e6;
    if (std::isnan(coordinate))
        return std::numeric_limits<int>::min();
    const double f = std::floor(coordinate);
    return static_cast<int>(f < lo ? lo : (f > hi ? hi : f));
}

CellPoint freehandSegment(CellPoint anchor, int c, int r, const CellSink& plot) {
    const double lx = anchor.x;
    const double ly = anchor.y;
    if (c != lx) {
        const double m = (ly - r) / (lx - c);
        if (std::fabs(m) <= 1) { // a slope of exactly 1 steps along the columns
            countingLoop<double>(lx, c, stepToward<double>(lx, c),
                                 [&](double s) { plot(cellIndex(s), cellIndex(r + (s - c) * m)); });
        } else {
            countingLoop<double>(ly, r, stepToward<double>(ly, r),
                                 [&](double t) { plot(cellIndex(c + (t - r) / m), cellIndex(t)); });
        }
        return {double(c), double(r)};
    }
    if (r != ly) {
        countingLoop<double>(ly, r, stepToward<double>(ly, r),
                             [&](double t) { plot(c, cellIndex(t)); });
        return {double(c), double(r)};
    }
    return anchor;
}

void rasterLine(CellPoint anchor, CellPoint drag, const CellSink& plot) {
    // Pointer positions are single-precision values; the counters start at them and the
    // slope formula measures from the same values, so the first cell is the pressed one.
    const CellPoint a{float(anchor.x), float(anchor.y)};
    const CellPoint d{float(drag.x), float(drag.y)};
    if (a.x == d.x) {
        if (a.y != d.y) {
            countingLoop<float>(float(a.y), float(d.y), stepToward<float>(a.y, d.y),
                                [&](float y) { plot(cellIndex(a.x), cellIndex(y)); });
        }
        return; // back at the anchor: no slope, nothing to plot
    }
    const double m = (d.y - a.y) / (d.x - a.x);
    if (std::fabs(m) < 1) {
        countingLoop<float>(float(a.x), float(d.x), stepToward<float>(a.x, d.x), [&](float x) {
            plot(cellIndex(x), cellIndex(a.y + (double(x) - a.x) * m));
        });
    } else if (a.y != d.y) { // a slope of exactly 1 steps along the rows
        countingLoop<float>(float(a.y), float(d.y), stepToward<float>(a.y, d.y), [&](float y) {
            plot(cellIndex(a.x + (double(y) - a.y) / m), cellIndex(y));
        });
    }
}

void rasterBox(CellPoint a, CellPoint d, const CellSink& plot) {
    if (d.x != a.x) {
        const int top = cellIndex(a.y);
        const int bottom = cellIndex(d.y);
        countingLoop<int>(cellIndex(a.x), cellIndex(d.x), stepToward<int>(a.x, d.x), [&](int x) {
            plot(x, top);
            plot(x, bottom);
        });
    }
    if (d.y != a.y) {
        const int left = cellIndex(a.x);
        const int right = cellIndex(d.x);
        countingLoop<int>(cellIndex(a.y), cellIndex(d.y), stepToward<int>(a.y, d.y), [&](int y) {
            plot(left, y);
            plot(right, y);
        });
    }
}

void rasterBar(CellPoint a, CellPoint d, const CellSink& plot) {
    const int x0 = roundHalfEven(a.x);
    const int x1 = roundHalfEven(d.x);
    const int y0 = roundHalfEven(a.y);
    const int y1 = roundHalfEven(d.y);
    const int columnStep = stepToward<int>(a.x, d.x);
    const int rowStep = stepToward<int>(a.y, d.y);
    countingLoop<int>(x0, x1, columnStep, [&](int column) {
        countingLoop<int>(y0, y1, rowStep, [&](int row) { plot(column, row); });
    });
}

void rasterCircle(CellPoint centre, double radius, double verticalDivisor, const CellSink& plot) {
    quarterArcs(
        centre, radius,
        [&](double t) {
            return std::pair{float(radius * std::cos(t)),
                             float(radius * std::sin(t) / verticalDivisor)};
        },
        plot);
}

double ellipseAspect(CellPoint anchor, CellPoint drag) {
    if (drag.x == anchor.x)
        return 1000;
    return std::fabs((drag.y - anchor.y) / (drag.x - anchor.x));
}

void rasterEllipse(CellPoint anchor, CellPoint drag, double radius, double verticalFactor,
                   const CellSink& plot) {
    const double aspect = ellipseAspect(anchor, drag);
    quarterArcs(
        anchor, radius,
        [&](double t) {
            float x, y;
            if (aspect <= 1) {
                x = float(radius * std::cos(t));
                y = float(aspect * radius * std::sin(t));
            } else {
                x = float(radius * std::cos(t) / aspect);
                y = float(radius * std::sin(t));
            }
            y = float(double(y) * verticalFactor);
            return std::pair{x, y};
        },
        plot);
}

} // namespace core
