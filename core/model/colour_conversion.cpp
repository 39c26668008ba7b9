// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/colour_conversion.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace core {
namespace {

struct Share {
    int dx, dy, weight;
};
constexpr std::array<Share, 4> kFloydSteinberg{{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}};
constexpr std::array<Share, 6> kAtkinson{
    {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}}};

constexpr std::array<std::array<int, 4>, 4> kBayer4{{
    {0, 8, 2, 10},
    {12, 4, 14, 6},
    {3, 11, 1, 9},
    {15, 7, 13, 5},
}};

int rankIn(int n, int y, int x) {
    if (n == 4)
        return kBayer4[size_t(y % 4)][size_t(x % 4)];
    return 4 * kBayer4[size_t(y % 4)][size_t(x % 4)] +
           std::array{0, 2, 3, 1}[size_t(((y % 8) / 4) * 2 + (x % 8) / 4)];
}

float cube(float v) {
    return v * v * v;
}

int channel(Rgb c, int shift) {
    return int(c >> shift & 0xFF);
}

// A channel over white at this alpha.
int overWhite(int c, int alpha) {
    return (c * alpha + 255 * (255 - alpha) + 127) / 255;
}

// OKLab (Björn Ottosson, 2020): a colour space in which equal distances look about equally
// far apart, so the nearest colour is the one the eye judges nearest.
struct Lab {
    float l, a, b;
};

// The light of an sRGB channel value, 0..1.
float linearOf(int srgb) {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[size_t(i)] = float(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return t;
    }();
    return table[size_t(std::clamp(srgb, 0, 255))];
}

int srgbOf(float linear) {
    const double c = std::clamp(double(linear), 0.0, 1.0);
    const double v = c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
    return int(std::lround(v * 255));
}

// Of a colour in linear light; channels out of 0..1 (an error carried too far) are clamped.
Lab labOfLight(float r, float g, float b) {
    r = std::clamp(r, 0.0f, 1.0f);
    g = std::clamp(g, 0.0f, 1.0f);
    b = std::clamp(b, 0.0f, 1.0f);
    const float l = std::cbrt(0.4122214708f * r + 0.5363325363f * g + 0.0514459929f * b);
    const float m = std::cbrt(0.2119034982f * r + 0.6806995451f * g + 0.1073969566f * b);
    const float s = std::cbrt(0.0883024619f * r + 0.2817188376f * g + 0.6299787005f * b);
    return {0.2104542553f * l + 0.7936177850f * m - 0.0040720468f * s,
            1.9779984951f * l - 2.4285922050f * m + 0.4505937099f * s,
            0.0259040371f * l + 0.7827717662f * m - 0.8086757660f * s};
}

Lab labOf(int red, int green, int blue) {
    return labOfLight(linearOf(red), linearOf(green), linearOf(blue));
}

std::array<int, 3> srgbOf(const Lab& c) {
    const float l = cube(c.l + 0.3963377774f * c.a + 0.2158037573f * c.b);
    const float m = cube(c.l - 0.1055613458f * c.a - 0.0638541728f * c.b);
    const float s = cube(c.l - 0.0894841775f * c.a - 1.2914855480f * c.b);
    return {srgbOf(4.0767416621f * l - 3.3077115913f * m + 0.2309699292f * s),
            srgbOf(-1.2684380046f * l + 2.6097574011f * m - 0.3413193965f * s),
            srgbOf(-0.0041960863f * l - 0.7034186147f * m + 1.7076147010f * s)};
}

float distance(const Lab& x, const Lab& y) {
    const float dl = x.l - y.l, da = x.a - y.a, db = x.b - y.b;
    return dl * dl + da * da + db * db;
}

// The cell of the grid's kind nearest to a colour, and the colour it shows.
struct Chosen {
    std::int16_t cell;
    Rgb shown;
};

Chosen nearestLab(CellKind kind, const Lab& colour) {
    if (kind == CellKind::Palette) {
        static const std::array<Lab, 16> palette = [] {
            std::array<Lab, 16> p{};
            for (int i = 1; i < 16; ++i) {
                const Rgb c = paletteRgb(i);
                p[size_t(i)] = labOf(channel(c, 16), channel(c, 8), channel(c, 0));
            }
            return p;
        }();
        int best = 1;
        float nearest = distance(colour, palette[1]);
        for (int i = 2; i < 16; ++i)
            if (const float d = distance(colour, palette[size_t(i)]); d < nearest) {
                best = i;
                nearest = d;
            }
        return {std::int16_t(best), paletteRgb(best)};
    }
    const auto [r, g, b] = srgbOf(colour);
    const std::uint16_t c = rgb565Of(r, g, b);
    return {std::int16_t(c), rgbOf565(c)};
}

} // namespace

int nearestPaletteIndex(int red, int green, int blue) {
    return nearestLab(CellKind::Palette, labOf(red, green, blue)).cell;
}

PixelGrid convertColourCells(const ColourCells& cells, CellKind kind,
                             const ConversionOptions& options, bool whiteIsNone) {
    const int rows = cells.rows, columns = cells.columns;
    const size_t count = size_t(rows) * size_t(columns);
    // Each cell over white, in 8-bit channels; a palette's cell under half opaque is none.
    std::vector<std::array<int, 3>> rgb(count);
    std::vector<bool> none(count, false);
    for (size_t i = 0; i < count; ++i) {
        const std::uint32_t p = cells.argb[i];
        const int alpha = int(p >> 24);
        none[i] = kind == CellKind::Palette && alpha < 128;
        for (int k = 0; k < 3; ++k)
            rgb[i][size_t(k)] = overWhite(int(p >> (16 - 8 * k) & 0xFF), alpha);
    }
    // The tone, as the grey conversion's curve on each channel (Levels reads the greys).
    if (!options.tone.isNeutral()) {
        GreyCells grey{rows, columns, std::vector<std::int16_t>(count, GreyCells::kNoPicture)};
        for (size_t i = 0; i < count; ++i)
            if (cells.argb[i] >> 24 != 0)
                grey.grey[i] = greyOf(rgb[i][0], rgb[i][1], rgb[i][2]);
        const std::array<std::uint8_t, 256> curve = toneCurve(grey, options.tone);
        for (auto& c : rgb)
            for (int& v : c)
                v = curve[size_t(v)];
    }
    if (options.invert)
        for (auto& c : rgb)
            for (int& v : c)
                v = 255 - v;

    PixelGrid out(rows, columns);
    const bool diffusing =
        options.dither == Dither::FloydSteinberg || options.dither == Dither::Atkinson;
    if (!diffusing) {
        // How far an ordered tile moves a colour: about the steps between the colours it
        // chooses from.
        const bool ordered =
            options.dither == Dither::Ordered4 || options.dither == Dither::Ordered8;
        const int spread = kind == CellKind::Palette ? 64 : 8;
        const int n = options.dither == Dither::Ordered4 ? 4 : 8;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < columns; ++x) {
                const size_t i = size_t(y * columns + x);
                if (none[i])
                    continue; // kPaletteNone
                std::array<int, 3> c = rgb[i];
                if (ordered) {
                    const int shift = spread * (2 * rankIn(n, y, x) + 1 - n * n) / (2 * n * n);
                    for (int& v : c)
                        v = std::clamp(v + shift, 0, 255);
                }
                // RGB565 rounds each channel; a palette colour is the nearest to the eye.
                out.set(y, x,
                        kind == CellKind::Rgb565 ? std::int16_t(rgb565Of(c[0], c[1], c[2]))
                                                 : nearestLab(kind, labOf(c[0], c[1], c[2])).cell);
            }
    } else {
        // The nearest colour is judged in OKLab; the error passed on is light (linear RGB), so
        // that the cells mixed by the eye give the colour's light, not a darker one.
        std::vector<std::array<float, 3>> light(count);
        for (size_t i = 0; i < count; ++i)
            for (int k = 0; k < 3; ++k)
                light[i][size_t(k)] = linearOf(rgb[i][size_t(k)]);
        const std::span<const Share> shares = options.dither == Dither::FloydSteinberg
                                                  ? std::span<const Share>(kFloydSteinberg)
                                                  : std::span<const Share>(kAtkinson);
        const float total = options.dither == Dither::FloydSteinberg ? 16.0f : 8.0f;
        const float carried = float(options.strength) / 100.0f / total;
        for (int y = 0; y < rows; ++y) {
            const bool backwards = options.serpentine && y % 2 == 1;
            for (int step = 0; step < columns; ++step) {
                const int x = backwards ? columns - 1 - step : step;
                const size_t i = size_t(y * columns + x);
                if (none[i])
                    continue;
                const std::array<float, 3>& c = light[i];
                const Chosen chosen = nearestLab(kind, labOfLight(c[0], c[1], c[2]));
                out.set(y, x, chosen.cell);
                const Rgb shown = chosen.shown;
                const std::array<float, 3> error{c[0] - linearOf(channel(shown, 16)),
                                                 c[1] - linearOf(channel(shown, 8)),
                                                 c[2] - linearOf(channel(shown, 0))};
                for (const Share& s : shares) {
                    const int nx = backwards ? x - s.dx : x + s.dx, ny = y + s.dy;
                    if (nx < 0 || nx >= columns || ny >= rows)
                        continue;
                    const size_t j = size_t(ny * columns + nx);
                    if (none[j])
                        continue;
                    for (int k = 0; k < 3; ++k)
                        light[j][size_t(k)] += error[size_t(k)] * carried * float(s.weight);
                }
            }
        }
    }
    if (whiteIsNone && kind == CellKind::Palette) {
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < columns; ++x)
                if (out.at(y, x) == kPaletteWhite)
                    out.set(y, x, kPaletteNone);
    }
    return out;
}

PixelGrid colourFromMonochrome(const PixelGrid& mono, int rows, int columns, CellKind kind,
                               bool whiteIsNone) {
    const bool palette = kind == CellKind::Palette;
    const std::int16_t dark = palette ? std::int16_t(kPaletteBlack) : std::int16_t(0x0000);
    const std::int16_t clear =
        palette ? std::int16_t(whiteIsNone ? kPaletteNone : kPaletteWhite) : std::int16_t(0xFFFF);
    PixelGrid out(rows, columns);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            out.set(y, x, mono.contains(y, x) && mono.at(y, x) == 1 ? dark : clear);
    return out;
}

std::uint32_t argbOfCell(std::int16_t cell, CellKind kind) {
    switch (kind) {
    case CellKind::Monochrome:
        return cell == 1 ? 0xFF000000u : 0xFFFFFFFFu;
    case CellKind::Palette:
        if (cell <= kPaletteNone || cell >= int(kCePalette.size()))
            return 0x00000000u; // none, and anything the palette lacks
        return 0xFF000000u | paletteRgb(cell);
    case CellKind::Rgb565:
        return 0xFF000000u | rgbOf565(std::uint16_t(cell));
    }
    return 0;
}

} // namespace core
