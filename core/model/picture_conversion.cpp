// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/picture_conversion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

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

// Serpentine scanning runs the odd rows right to left, each share mirrored. `strength` is
// the percentage of each error that is spread; the rest is dropped.
template <size_t N>
void diffuse(const GreyCells& cells, int threshold, const std::array<Share, N>& shares, int divisor,
             int strength, bool serpentine, PixelGrid& out) {
    const int rows = cells.rows, columns = cells.columns;
    // Grey levels times the divisor, so that the shares of an error stay whole numbers.
    std::vector<int> value(size_t(rows * columns));
    for (size_t i = 0; i < value.size(); ++i)
        value[i] = cells.grey[i] == GreyCells::kNoPicture ? -1 : cells.grey[i] * divisor;
    for (int y = 0; y < rows; ++y) {
        const bool back = serpentine && y % 2 == 1;
        for (int i = 0; i < columns; ++i) {
            const int x = back ? columns - 1 - i : i;
            const int v = value[size_t(y * columns + x)];
            if (cells.at(y, x) == GreyCells::kNoPicture)
                continue;
            const bool dark = v < threshold * divisor;
            out.set(y, x, dark ? 1 : 0);
            const int error = v - (dark ? 0 : 255 * divisor);
            for (const Share& s : shares) {
                const int nx = x + (back ? -s.dx : s.dx), ny = y + s.dy;
                if (nx < 0 || nx >= columns || ny >= rows ||
                    cells.at(ny, nx) == GreyCells::kNoPicture)
                    continue;
                // Truncated towards zero; at full strength this is error * weight / divisor.
                value[size_t(ny * columns + nx)] += error * s.weight * strength / (divisor * 100);
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

// The cells of a picture whose tone is already applied.
PixelGrid convertToned(const GreyCells& cells, const ConversionOptions& options) {
    PixelGrid out(cells.rows, cells.columns);
    const int t = options.threshold;
    const int strength = std::clamp(options.strength, 0, 100);
    switch (options.dither) {
    case Dither::None:
        for (int y = 0; y < cells.rows; ++y)
            for (int x = 0; x < cells.columns; ++x)
                if (const int g = cells.at(y, x); g != GreyCells::kNoPicture)
                    out.set(y, x, g < t ? 1 : 0);
        break;
    case Dither::FloydSteinberg:
        diffuse(cells, t, std::array<Share, 4>{{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}}, 16,
                strength, options.serpentine, out);
        break;
    case Dither::Atkinson:
        diffuse(cells, t,
                std::array<Share, 6>{
                    {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}}},
                8, strength, options.serpentine, out);
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

} // namespace

std::uint8_t greyOf(int red, int green, int blue, int alpha) {
    // Over white: each channel moves towards 255 as the pixel becomes transparent.
    auto over = [alpha](int c) { return (c * alpha + 255 * (255 - alpha) + 127) / 255; };
    return std::uint8_t((299 * over(red) + 587 * over(green) + 114 * over(blue) + 500) / 1000);
}

std::array<int, 2> autoLevelsRange(const GreyCells& cells) {
    std::array<int, 256> histogram{};
    int total = 0;
    for (std::int16_t g : cells.grey) {
        if (g != GreyCells::kNoPicture) {
            ++histogram[size_t(g)];
            ++total;
        }
    }
    if (total == 0)
        return {0, 255};
    const int clipped = total / 200; // 0.5 %, rounded down
    int low = 0, high = 255;
    for (int seen = histogram[0]; seen <= clipped; seen += histogram[size_t(low)])
        ++low;
    for (int seen = histogram[255]; seen <= clipped; seen += histogram[size_t(high)])
        --high;
    return {low, high};
}

std::array<std::uint8_t, 256> toneCurve(const GreyCells& cells, const Tone& tone) {
    std::array<std::uint8_t, 256> curve{};
    const auto [low, high] = tone.autoLevels ? autoLevelsRange(cells) : std::array<int, 2>{0, 255};
    const double b = std::clamp(tone.brightness, -kBrightnessRange, kBrightnessRange) / 100.0;
    const double c = std::clamp(tone.contrast, -kBrightnessRange, kBrightnessRange) / 100.0;
    const double gamma = std::clamp(tone.gamma, kLowestGamma, kHighestGamma);
    // The slope through mid-grey: 0 at -100, 1 at 0, steeper than any grey step at 100.
    const double slope = std::tan((c + 1) * std::numbers::pi / 4);
    for (int g = 0; g < 256; ++g) {
        double v = high > low ? std::clamp(double(g - low) / (high - low), 0.0, 1.0) : g / 255.0;
        if (gamma != 1.0)
            v = std::pow(v, 1 / gamma);
        v = b < 0 ? v * (1 + b) : v + (1 - v) * b;
        if (c != 0)
            v = std::clamp((v - 0.5) * slope + 0.5, 0.0, 1.0);
        curve[size_t(g)] = std::uint8_t(std::floor(v * 255 + 0.5));
    }
    return curve;
}

GreyCells applyTone(const GreyCells& cells, const Tone& tone) {
    if (tone.isNeutral())
        return cells;
    const std::array<std::uint8_t, 256> curve = toneCurve(cells, tone);
    GreyCells out = cells;
    for (std::int16_t& g : out.grey) {
        if (g != GreyCells::kNoPicture)
            g = curve[size_t(g)];
    }
    return out;
}

PixelGrid convertCells(const GreyCells& cells, const ConversionOptions& options) {
    if (options.tone.isNeutral())
        return convertToned(cells, options);
    return convertToned(applyTone(cells, options.tone), options);
}

const char* const kConversionArithmetic =
    "Placing. The picture is scaled to the screen (Fit, Fill or Stretch) by Qt's smooth "
    "scaling, or taken at its actual size, and centred; cells it does not cover stay clear.\n\n"
    "Grey. Each pixel is put over white, each channel c with alpha a becoming "
    "(c a + 255 (255 - a) + 127) / 255, then grey = (299 R + 587 G + 114 B + 500) / 1000, "
    "both in whole numbers (division rounding down).\n\n"
    "Tone, in this order, on v = grey / 255. Levels Auto: of the n cells holding picture, low is "
    "the least grey with more than n / 200 (rounded down) cells at or below it and high the "
    "greatest with as many at or above it; when high > low, v = (grey - low) / (high - low), "
    "kept within 0..1. Gamma G: v = v^(1/G). Brightness B (-100..100): v = v (1 + B/100) for "
    "B < 0, v + (1 - v) B/100 for B > 0. Contrast C (-100..100): "
    "v = (v - 0.5) tan((C/100 + 1) 45 degrees) + 0.5, kept within 0..1. The new grey is "
    "floor(255 v + 0.5), computed in double precision.\n\n"
    "Threshold T. Without a dither a cell is dark when its grey is below T. Auto: Otsu's "
    "threshold of the greys after the tone, the least T that maximises the between-class "
    "variance of the greys below T and those from T up; 128 when they cannot be parted.\n\n"
    "Error diffusion. Values are greys times D (Floyd-Steinberg D = 16, Atkinson D = 8). Rows "
    "run top to bottom, each left to right; serpentine runs rows 1, 3, 5... right to left, "
    "the offsets mirrored. A cell is dark when its value is below T D; its error is the value "
    "minus 0 (dark) or 255 D (clear), and each later neighbour that holds picture gets "
    "error x weight x S / (100 D) added, S being the strength in percent, rounded towards "
    "zero. Floyd-Steinberg weights (of 16): right 7, below left 3, below 5, below right 1. "
    "Atkinson (of 8): right 1, two right 1, below left 1, below 1, below right 1, two below 1.\n\n"
    "Ordered dither. Bayer 4x4 ranks by row: 0 8 2 10 / 12 4 14 6 / 3 11 1 9 / 15 7 13 5, at "
    "[y mod 4][x mod 4]; 8x8: 4 M4[y mod 4][x mod 4] + (0, 2, 3, 1)[2 (y div 4) + x div 4]. For "
    "a tile of N = n x n cells and a cell of rank r, let E = 255 (2 r + 1 - N) and W = 2 N. "
    "With E < 0 the cell is dark when 128 grey W < T (128 W + E); otherwise when "
    "127 (grey - T) W < E (255 - T); whole numbers throughout.\n\n"
    "Invert swaps dark and clear in the cells that hold picture.";

int otsuThreshold(const GreyCells& cells, const Tone& tone) {
    return otsuThreshold(applyTone(cells, tone));
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
