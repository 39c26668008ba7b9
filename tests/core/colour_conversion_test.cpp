// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <cmath>
#include <functional>
#include <set>

#include <gtest/gtest.h>

#include "core/model/colour_conversion.h"

using namespace core;

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

ColourCells cellsOf(int rows, int columns, const std::function<std::uint32_t(int, int)>& pixel) {
    ColourCells cells{rows, columns, {}};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            cells.argb.push_back(pixel(r, c));
    return cells;
}

// The light of an sRGB channel value, 0..1.
double linear(unsigned srgb) {
    const double c = srgb / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

const Dither kDithers[] = {Dither::None, Dither::FloydSteinberg, Dither::Atkinson, Dither::Ordered4,
                           Dither::Ordered8};

} // namespace

// A picture made of the palette's colours converts to exactly those indexes without a
// dither, and with an error diffusion too, which has no error to carry.
TEST(ColourConversion, PaletteColoursConvertExactly) {
    const ColourCells cells =
        cellsOf(30, 45, [](int r, int c) { return kOpaque | paletteRgb(1 + (r * 45 + c) % 15); });
    for (const Dither dither : {Dither::None, Dither::FloydSteinberg, Dither::Atkinson}) {
        const PixelGrid grid = convertColourCells(cells, CellKind::Palette, {128, dither, false});
        for (int r = 0; r < 30; ++r)
            for (int c = 0; c < 45; ++c)
                ASSERT_EQ(grid.at(r, c), 1 + (r * 45 + c) % 15) << r << ", " << c;
    }
}

// Colours near a palette colour take it; transparent cells are none, half-transparent ones
// are seen over white; white can be none when asked.
TEST(ColourConversion, NearestColoursTransparencyAndWhiteAsNone) {
    struct Row {
        const char* what;
        std::uint32_t argb;
        bool whiteIsNone;
        int index;
    };
    const Row rows[] = {
        {"near red", kOpaque | 0xF00A0A, false, 2},
        {"near black", kOpaque | 0x0C0C10, false, 3},
        {"near yellow", kOpaque | 0xF0F020, false, 10},
        {"near navy", kOpaque | 0x000070, false, 8},
        {"near dark grey", kOpaque | 0x505050, false, 15},
        {"white", kOpaque | 0xFFFFFF, false, 11},
        {"white as none", kOpaque | 0xFFFFFF, true, 0},
        {"transparent", 0x00000000u, false, 0},
        {"mostly transparent black", 0x40000000u, false, 0},
        {"black at 3/4 over white", 0xC0000000u, false, 15},
    };
    for (const Row& row : rows) {
        const ColourCells cells = cellsOf(1, 1, [&](int, int) { return row.argb; });
        PixelGrid grid = convertColourCells(cells, CellKind::Palette, {128, Dither::None, false});
        if (row.whiteIsNone && grid.at(0, 0) == kPaletteWhite)
            grid.set(0, 0, kPaletteNone);
        EXPECT_EQ(grid.at(0, 0), row.index) << row.what;
    }
}

// Every RGB565 colour, spread out to 8 bits a channel, converts back to itself; other colours
// round to the nearest level of each channel; transparency is white.
TEST(ColourConversion, Rgb565RoundsEachChannel) {
    const ColourCells every = cellsOf(
        256, 256, [](int r, int c) { return kOpaque | rgbOf565(std::uint16_t(r << 8 | c)); });
    const PixelGrid grid = convertColourCells(every, CellKind::Rgb565, {128, Dither::None, false});
    for (int r = 0; r < 256; ++r)
        for (int c = 0; c < 256; ++c)
            ASSERT_EQ(std::uint16_t(grid.at(r, c)), r << 8 | c) << r << ", " << c;
    const std::pair<std::uint32_t, std::uint16_t> rows[] = {
        {kOpaque | 0x040204, 0x0000}, // below half a level: down
        {kOpaque | 0x050305, 0x0821}, // above: up
        {0x00123456u, 0xFFFF},        // transparent: white
    };
    for (const auto& [argb, expected] : rows) {
        const ColourCells one = cellsOf(1, 1, [&](int, int) { return argb; });
        EXPECT_EQ(std::uint16_t(convertColourCells(one, CellKind::Rgb565, {}).at(0, 0)), expected)
            << std::hex << argb;
    }
}

// Every dither mixes palette colours for a flat colour between them, and Floyd-Steinberg keeps
// it on average: the mean light of the cells (what the eye mixes) is the light of the colour
// asked for. Without a dither the whole area is one colour.
TEST(ColourConversion, DithersKeepTheMeanColour) {
    // A quarter each of red, green, blue and white: inside what the palette can mix.
    const Rgb asked = 0x7F677F;
    const ColourCells cells = cellsOf(64, 64, [&](int, int) { return kOpaque | asked; });
    for (const Dither dither : kDithers) {
        const PixelGrid grid = convertColourCells(cells, CellKind::Palette, {128, dither, false});
        double sum[3] = {0, 0, 0};
        std::set<int> used;
        for (int r = 0; r < 64; ++r)
            for (int c = 0; c < 64; ++c) {
                used.insert(grid.at(r, c));
                const Rgb rgb = paletteRgb(grid.at(r, c));
                for (int k = 0; k < 3; ++k)
                    sum[k] += linear((rgb >> (16 - 8 * k)) & 0xFF);
            }
        if (dither == Dither::None) {
            EXPECT_EQ(used.size(), 1u);
            continue;
        }
        EXPECT_GT(used.size(), 1u) << int(dither);
        if (dither != Dither::FloydSteinberg)
            continue; // Atkinson drops a quarter of each error; a tile only shifts a colour
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(sum[k] / (64 * 64), linear((asked >> (16 - 8 * k)) & 0xFF), 0.01)
                << int(dither) << " channel " << k;
    }
}

// Inverting takes each channel's complement before the nearest colour is chosen.
TEST(ColourConversion, InvertTakesTheOppositeColour) {
    const std::pair<Rgb, int> rows[] = {
        {0x000000, 11}, {0xFFFFFF, 3}, {0x00FFFF, 2}, {0xFFFF00, 1}};
    for (const auto& [rgb, index] : rows) {
        const ColourCells one = cellsOf(1, 1, [&](int, int) { return kOpaque | rgb; });
        EXPECT_EQ(convertColourCells(one, CellKind::Palette, {128, Dither::None, true}).at(0, 0),
                  index)
            << std::hex << rgb;
    }
}

// A monochrome picture lands cell for cell at the top left: dark black, clear white or none,
// and the rest of the larger screen the same as clear; a larger one is cut to the screen.
TEST(ColourConversion, MonochromeBecomesBlackAndWhiteAtTheTopLeft) {
    PixelGrid mono(3, 4);
    mono.set(0, 0, 1);
    mono.set(2, 3, 1);
    struct Row {
        CellKind kind;
        bool whiteIsNone;
        std::int16_t dark, clear;
    };
    const Row rows[] = {
        {CellKind::Palette, false, kPaletteBlack, kPaletteWhite},
        {CellKind::Palette, true, kPaletteBlack, kPaletteNone},
        {CellKind::Rgb565, false, 0x0000, std::int16_t(0xFFFF)},
    };
    for (const Row& row : rows) {
        const PixelGrid out = colourFromMonochrome(mono, 5, 6, row.kind, row.whiteIsNone);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 6; ++c) {
                const bool dark = (r == 0 && c == 0) || (r == 2 && c == 3);
                EXPECT_EQ(out.at(r, c), dark ? row.dark : row.clear) << r << ", " << c;
            }
    }
    const PixelGrid cut = colourFromMonochrome(mono, 2, 2, CellKind::Palette, false);
    EXPECT_EQ(cut.at(0, 0), kPaletteBlack);
    EXPECT_EQ(cut.at(1, 1), kPaletteWhite);
}

// The error diffusions pass on `strength` percent of each cell's error: none at 0, which is
// then the nearest colour of every cell, as without a dither; some at 50.
TEST(ColourConversion, StrengthScalesTheErrorPassedOn) {
    const ColourCells cells = cellsOf(
        32, 32, [](int r, int c) { return kOpaque | Rgb(8 * r) << 16 | Rgb(8 * c) << 8 | 0x60; });
    const PixelGrid nearest =
        convertColourCells(cells, CellKind::Palette, {128, Dither::None, false});
    for (const Dither dither : {Dither::FloydSteinberg, Dither::Atkinson}) {
        ConversionOptions options(128, dither, false);
        options.strength = 0;
        EXPECT_EQ(convertColourCells(cells, CellKind::Palette, options), nearest) << int(dither);
        options.strength = 50;
        EXPECT_NE(convertColourCells(cells, CellKind::Palette, options), nearest) << int(dither);
    }
}

// The tone works on colour as on grey, each channel through the same curve, and Levels reads
// the picture's greys; serpentine runs every other row backwards.
TEST(ColourConversion, ToneAndSerpentineAsForGrey) {
    struct Row {
        const char* what;
        Tone tone;
        Rgb left, right; // a picture of two halves
        int leftIndex, rightIndex;
    };
    Tone brighter, darker, flat, levels;
    brighter.brightness = 100;
    darker.brightness = -100;
    flat.contrast = -100;
    levels.autoLevels = true;
    const Row rows[] = {
        {"neutral", Tone{}, 0x505050, 0xC0C0C0, 15, 13},
        {"brightness 100", brighter, 0x505050, 0x0000FF, 11, 11},
        {"brightness -100", darker, 0xC0C0C0, 0xFFFF00, 3, 3},
        {"contrast -100: mid grey", flat, 0x000000, 0xFFFFFF, 14, 14},
        {"levels stretch", levels, 0x505050, 0xC0C0C0, 3, 11},
    };
    for (const Row& row : rows) {
        const ColourCells cells =
            cellsOf(4, 8, [&](int, int c) { return kOpaque | (c < 4 ? row.left : row.right); });
        ConversionOptions options(128, Dither::None, false);
        options.tone = row.tone;
        const PixelGrid grid = convertColourCells(cells, CellKind::Palette, options);
        EXPECT_EQ(grid.at(1, 0), row.leftIndex) << row.what;
        EXPECT_EQ(grid.at(1, 7), row.rightIndex) << row.what;
    }
    const ColourCells ramp = cellsOf(
        16, 64, [](int r, int c) { return kOpaque | Rgb(4 * c) << 16 | Rgb(16 * r) << 8 | 0x80; });
    ConversionOptions options(128, Dither::FloydSteinberg, false);
    const PixelGrid forwards = convertColourCells(ramp, CellKind::Palette, options);
    options.serpentine = true;
    const PixelGrid serpentine = convertColourCells(ramp, CellKind::Palette, options);
    for (int c = 0; c < 64; ++c)
        EXPECT_EQ(serpentine.at(0, c), forwards.at(0, c)) << "the first row runs forwards";
    EXPECT_NE(serpentine, forwards);
}
