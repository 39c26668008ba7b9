// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/picture_conversion.h"

#include <array>

namespace core {
namespace {

// Bayer matrices: each cell's place in the order in which a growing grey darkens the tile.
constexpr std::array<std::array<int, 4>, 4> kBayer4{{
    {0, 8, 2, 10},
    {12, 4, 14, 6},
    {3, 11, 1, 9},
    {15, 7, 13, 5},
}};

constexpr auto kBayer8 = [] {
    std::array<std::array<int, 8>, 8> m{};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            m[size_t(y)][size_t(x)] = 4 * kBayer4[size_t(y % 4)][size_t(x % 4)] +
                                      std::array{0, 2, 3, 1}[size_t((y / 4) * 2 + x / 4)];
    return m;
}();

// Error diffusion: each cell is set by the threshold and its error spread to the cells not yet
// visited, in the given shares (of `divisor`).
struct Share {
    int dx, dy, weight;
};

template <size_t N>
void diffuse(const GreyCells& cells, int threshold, const std::array<Share, N>& shares, int divisor,
             PixelGrid& out) {
    const int rows = cells.rows, columns = cells.columns;
    // Grey levels times the divisor, so that the shares of an error stay whole numbers.
    std::vector<int> value(size_t(rows * columns));
    for (size_t i = 0; i < value.size(); ++i)
        value[i] = cells.grey[i] == GreyCells::kNoPicture ? -1 : cells.grey[i] * divisor;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            const int v = value[size_t(y * columns + x)];
            if (cells.at(y, x) == GreyCells::kNoPicture)
                continue;
            const bool dark = v < threshold * divisor;
            out.set(y, x, dark ? 1 : 0);
            const int error = v - (dark ? 0 : 255 * divisor);
            for (const Share& s : shares) {
                const int nx = x + s.dx, ny = y + s.dy;
                if (nx < 0 || nx >= columns || ny >= rows ||
                    cells.at(ny, nx) == GreyCells::kNoPicture)
                    continue;
                value[size_t(ny * columns + nx)] += error * s.weight / divisor;
            }
        }
    }
}

// Ordered dithering: each cell of an n x n tile compares the grey with a threshold of its own,
// spread around `t` by the cell's rank: d = 255 (2 rank + 1 - n^2) / (2 n^2), less than 127.5
// either way and never 0. Below `t` the spread is squeezed towards 0 in proportion, above it
// towards 255, so that whatever the threshold white (255) is never dark and black (0) never
// clear; at 128 the cell's threshold is 128 + d, as it always was:
//   dark  <=>  grey < t (128 + d) / 128          for d < 0
//         <=>  grey < t + d (255 - t) / 127      for d > 0
bool orderedDark(int grey, int t, int rank, int n) {
    const int twice = 2 * n * n;
    const int d = (2 * rank + 1 - n * n) * 255; // d times `twice`, a whole number
    if (d < 0)
        return 128 * grey * twice < t * (128 * twice + d);
    return 127 * (grey - t) * twice < d * (255 - t);
}

} // namespace

std::uint8_t greyOf(int red, int green, int blue, int alpha) {
    // Over white: each channel moves towards 255 as the pixel becomes transparent.
    auto over = [alpha](int c) { return (c * alpha + 255 * (255 - alpha) + 127) / 255; };
    return std::uint8_t((299 * over(red) + 587 * over(green) + 114 * over(blue) + 500) / 1000);
}

PixelGrid convertCells(const GreyCells& cells, const ConversionOptions& options) {
    PixelGrid out(cells.rows, cells.columns);
    const int t = options.threshold;
    switch (options.dither) {
    case Dither::None:
        for (int y = 0; y < cells.rows; ++y)
            for (int x = 0; x < cells.columns; ++x)
                if (const int g = cells.at(y, x); g != GreyCells::kNoPicture)
                    out.set(y, x, g < t ? 1 : 0);
        break;
    case Dither::FloydSteinberg:
        diffuse(cells, t, std::array<Share, 4>{{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}}, 16,
                out);
        break;
    case Dither::Atkinson:
        diffuse(cells, t,
                std::array<Share, 6>{
                    {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}}},
                8, out);
        break;
    case Dither::Ordered4:
    case Dither::Ordered8: {
        const int n = options.dither == Dither::Ordered4 ? 4 : 8;
        for (int y = 0; y < cells.rows; ++y) {
            for (int x = 0; x < cells.columns; ++x) {
                const int g = cells.at(y, x);
                if (g == GreyCells::kNoPicture)
                    continue;
                const int rank = n == 4 ? kBayer4[size_t(y % 4)][size_t(x % 4)]
                                        : kBayer8[size_t(y % 8)][size_t(x % 8)];
                out.set(y, x, orderedDark(g, t, rank, n) ? 1 : 0);
            }
        }
        break;
    }
    }
    if (options.invert) {
        for (int y = 0; y < cells.rows; ++y)
            for (int x = 0; x < cells.columns; ++x)
                if (cells.at(y, x) != GreyCells::kNoPicture)
                    out.set(y, x, out.at(y, x) ? 0 : 1);
    }
    return out;
}

int otsuThreshold(const GreyCells& cells) {
    std::array<double, 256> histogram{};
    double total = 0;
    for (std::int16_t g : cells.grey) {
        if (g != GreyCells::kNoPicture) {
            histogram[size_t(g)] += 1;
            total += 1;
        }
    }
    if (total == 0)
        return 128;
    double sumAll = 0;
    for (int i = 0; i < 256; ++i)
        sumAll += i * histogram[size_t(i)];
    double weightBelow = 0, sumBelow = 0, best = -1;
    int threshold = 128;
    for (int k = 0; k < 255; ++k) { // class one: grey 0..k; class two: k+1..255
        weightBelow += histogram[size_t(k)];
        sumBelow += k * histogram[size_t(k)];
        const double weightAbove = total - weightBelow;
        if (weightBelow == 0 || weightAbove == 0)
            continue;
        const double meanBelow = sumBelow / weightBelow;
        const double meanAbove = (sumAll - sumBelow) / weightAbove;
        const double between =
            weightBelow * weightAbove * (meanBelow - meanAbove) * (meanBelow - meanAbove);
        if (between > best) {
            best = between;
            threshold = k + 1; // dark: grey below k + 1
        }
    }
    return threshold;
}

} // namespace core
