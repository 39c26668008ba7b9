// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/model/pixel_grid.h"

namespace core {

// How Convert Image turns a picture, already scaled to the grid, into dark and clear cells.
enum class Dither { None, FloydSteinberg, Atkinson, Ordered4, Ordered8 };

// What is done to the grey picture before the threshold or the dither, in this order: Levels,
// Gamma, Brightness, Contrast. The neutral tone changes no grey.
struct Tone {
    // Auto: the darkest and the lightest 0.5 % of the placed picture's cells become black and
    // white, the greys between spread evenly.
    bool autoLevels = false;
    int brightness = 0; // -100..100: towards black or white by that share of the way
    int contrast = 0;   // -100..100: -100 makes every grey mid-grey, 100 a threshold at 127.5
    double gamma = 1.0; // 0.2..5: above 1 lightens the middle greys, below 1 darkens them

    bool isNeutral() const {
        return !autoLevels && brightness == 0 && contrast == 0 && gamma == 1.0;
    }
    bool operator==(const Tone&) const = default;
};

// The default is the one that scored best at calculator size (bench/conversion_compare.cpp,
// docs/conversion.md): Auto levels, then a threshold at 128 without dither.
struct ConversionOptions {
    ConversionOptions() { tone.autoLevels = true; }
    // The threshold, the dither and the inversion alone: a neutral tone.
    ConversionOptions(int threshold, Dither dither, bool invert)
        : threshold(threshold), dither(dither), invert(invert) {}

    int threshold = 128; // a cell is dark when its (dithered) grey is below this
    Dither dither = Dither::None;
    bool invert = false; // dark and clear swapped after that; cells off the picture stay clear
    Tone tone;
    int strength = 100;      // Floyd-Steinberg and Atkinson: the percentage of the error spread
    bool serpentine = false; // error diffusion: every other row right to left

    bool operator==(const ConversionOptions&) const = default;
};

inline constexpr int kBrightnessRange = 100; // brightness and contrast: -100..100
inline constexpr double kLowestGamma = 0.2, kHighestGamma = 5.0;

// A picture at grid size: one grey value 0..255 per cell, row by row, or kNoPicture where the
// placed picture does not reach (Fit leaves a margin); such cells always come out clear.
struct GreyCells {
    int rows = 0;
    int columns = 0;
    std::vector<std::int16_t> grey;
    static constexpr std::int16_t kNoPicture = -1;

    std::int16_t at(int row, int column) const { return grey[size_t(row * columns + column)]; }
};

// The grey of one pixel: alpha composited over white, then (299 R + 587 G + 114 B + 500) / 1000.
std::uint8_t greyOf(int red, int green, int blue, int alpha = 255);

// The lowest and highest grey that Auto levels stretches to black and white: of the n cells
// that hold picture, at most floor(n / 200) are darker than the first and at most as many
// lighter than the second. {0, 255} when there is no picture.
std::array<int, 2> autoLevelsRange(const GreyCells& cells);

// What each grey 0..255 becomes under `tone`, for this picture (Auto levels reads it).
std::array<std::uint8_t, 256> toneCurve(const GreyCells& cells, const Tone& tone);

// The picture with its tone changed; cells without picture stay so.
GreyCells applyTone(const GreyCells& cells, const Tone& tone);

// The cells, 1 dark and 0 clear, of a grid the size of `cells`: the tone applied, then the
// threshold or the dither, then the inversion. The one function the preview, OK and calcpic
// use.
PixelGrid convertCells(const GreyCells& cells, const ConversionOptions& options);

// Otsu's threshold over the cells that hold picture: the grey levels below it and from it up
// are the two classes most apart. 128 when there is nothing to part. With a tone, of the
// picture as that tone leaves it, which is what the threshold then parts.
int otsuThreshold(const GreyCells& cells);
int otsuThreshold(const GreyCells& cells, const Tone& tone);

// How the conversion makes its cells, step by step, for the dialog's help and the manual page:
// enough for another program to reproduce them. Paragraphs are separated by blank lines.
extern const char* const kConversionArithmetic;

} // namespace core
