// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/model/picture_conversion.h"
#include "tests/support/grid_pictures.h"

using namespace core;
using testing_support::gridPicture;
using testing_support::picture;

namespace {

// Grey cells from rows of digits: '0'..'9' for grey 0, 28, ... 252, '-' for no picture.
GreyCells fromRows(std::initializer_list<const char*> rows) {
    GreyCells cells;
    for (const char* row : rows) {
        cells.columns = int(std::string(row).size());
        ++cells.rows;
        for (const char* c = row; *c; ++c)
            cells.grey.push_back(*c == '-' ? GreyCells::kNoPicture : std::int16_t((*c - '0') * 28));
    }
    return cells;
}

GreyCells flat(int rows, int columns, int grey) {
    GreyCells cells;
    cells.rows = rows;
    cells.columns = columns;
    cells.grey.assign(size_t(rows * columns), std::int16_t(grey));
    return cells;
}

std::string all(const PixelGrid& grid) {
    return gridPicture(grid, 0, 0, grid.rows(), grid.columns());
}

double darkShare(const PixelGrid& grid) {
    return double(testing_support::darkCells(grid)) / (grid.rows() * grid.columns());
}

} // namespace

TEST(Conversion, GreyIsAlphaOverWhiteThenWeighted) {
    EXPECT_EQ(greyOf(0, 0, 0), 0);
    EXPECT_EQ(greyOf(255, 255, 255), 255);
    EXPECT_EQ(greyOf(255, 0, 0), 76); // (299 * 255 + 500) / 1000
    EXPECT_EQ(greyOf(0, 255, 0), 150);
    EXPECT_EQ(greyOf(0, 0, 255), 29);
    EXPECT_EQ(greyOf(0, 0, 0, 0), 255); // transparent: the white beneath
    EXPECT_EQ(greyOf(0, 0, 0, 128), 127);
}

TEST(Conversion, ThresholdAndInvertLeaveCellsOffThePictureClear) {
    const GreyCells cells = fromRows({
        "0459-",
        "9540-",
        "-----",
    });
    ConversionOptions options{128, Dither::None, false}; // grey 112 (4) is dark, 140 (5) not
    EXPECT_EQ(all(convertCells(cells, options)), picture({"##...", "..##.", "....."}));
    options.invert = true;
    EXPECT_EQ(all(convertCells(cells, options)), picture({"..##.", "##...", "....."}));
    options = {0, Dither::None, false}; // nothing is below 0
    EXPECT_EQ(all(convertCells(cells, options)), picture({".....", ".....", "....."}));
    options = {255, Dither::None, false}; // all but white
    EXPECT_EQ(all(convertCells(cells, options)), picture({"####.", "####.", "....."}));
}

TEST(Conversion, SmallDithersWorkedOutByHand) {
    // A row of four mid greys (128) at threshold 128, the errors in whole shares:
    // Floyd-Steinberg (x16): 2048 clear, err -2032 -> 2048 - 889 = 1159 dark, +507 -> 2555
    // clear, -667 -> 1381 dark.
    const GreyCells row = flat(1, 4, 128);
    EXPECT_EQ(all(convertCells(row, {128, Dither::FloydSteinberg, false})), ".#.#\n");
    // Atkinson (x8, an eighth to each of the next two): 1024 clear, -127 to both -> 897 dark,
    // +112 -> 1009 dark, +112 + 126 -> 1262 clear.
    EXPECT_EQ(all(convertCells(row, {128, Dither::Atkinson, false})), ".##.\n");
    // Ordered: a cell is dark where its Bayer rank is in the upper half.
    EXPECT_EQ(all(convertCells(flat(4, 4, 128), {128, Dither::Ordered4, false})),
              picture({".#.#", "#.#.", ".#.#", "#.#."}));
    const PixelGrid eight = convertCells(flat(8, 8, 128), {128, Dither::Ordered8, false});
    EXPECT_EQ(testing_support::darkCells(eight), 32);
    // A quarter grey (191) darkens a quarter of each tile.
    EXPECT_EQ(all(convertCells(flat(4, 4, 191), {128, Dither::Ordered4, false})),
              picture({"....", "#.#.", "....", "#.#."}));
}

TEST(Conversion, EveryDitherGivesAFlatGreyItsDarkness) {
    const Dither dithers[] = {Dither::FloydSteinberg, Dither::Atkinson, Dither::Ordered4,
                              Dither::Ordered8};
    for (Dither dither : dithers) {
        for (int grey : {64, 128, 192}) {
            if (dither == Dither::Atkinson && grey != 128)
                continue; // Atkinson drops a quarter of each error: it pushes towards the ends
            const PixelGrid grid = convertCells(flat(96, 96, grey), {128, dither, false});
            EXPECT_NEAR(darkShare(grid), 1 - grey / 255.0, 0.02)
                << "dither " << int(dither) << ", grey " << grey;
        }
    }
    EXPECT_EQ(darkShare(convertCells(flat(10, 10, 128), {128, Dither::None, false})), 0);
}

TEST(Conversion, EveryDitherDarkensARampFromItsBlackEnd) {
    GreyCells ramp = flat(16, 16, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ramp.grey[size_t(y * 16 + x)] = std::int16_t(x * 17); // 0 .. 255
    for (Dither dither : {Dither::None, Dither::FloydSteinberg, Dither::Atkinson, Dither::Ordered4,
                          Dither::Ordered8}) {
        const PixelGrid grid = convertCells(ramp, {128, dither, false});
        int left = 0, right = 0;
        for (int y = 0; y < 16; ++y) {
            EXPECT_EQ(grid.at(y, 0), 1) << int(dither);  // black stays black
            EXPECT_EQ(grid.at(y, 15), 0) << int(dither); // white stays white
            for (int x = 0; x < 8; ++x)
                left += grid.at(y, x), right += grid.at(y, x + 8);
        }
        EXPECT_GT(left, right + 64) << int(dither);
    }
    // Without a dither the ramp parts where the grey reaches the threshold: 8 * 17 = 136.
    EXPECT_EQ(gridPicture(convertCells(ramp, {128, Dither::None, false}), 0, 0, 1, 16),
              "########........\n");
}

// Whatever the threshold, white stays clear and black stays dark, in every dither: the
// threshold moves the pattern between them, never past them.
TEST(Conversion, NoThresholdDotsWhiteOrPunchesBlack) {
    const Dither dithers[] = {Dither::None, Dither::FloydSteinberg, Dither::Atkinson,
                              Dither::Ordered4, Dither::Ordered8};
    // A picture of every grey, white and black cells scattered among them.
    GreyCells mixed = flat(63, 96, 0);
    unsigned seed = 12345;
    for (std::int16_t& g : mixed.grey) {
        seed = seed * 1103515245u + 12345u;
        const unsigned r = seed >> 16;
        g = std::int16_t(r % 4 == 0 ? 0 : r % 4 == 1 ? 255 : r % 256);
    }
    for (Dither dither : dithers) {
        for (int t : {1, 2, 30, 60, 100, 127, 128, 129, 170, 200, 230, 254, 255}) {
            const ConversionOptions options{t, dither, false};
            EXPECT_EQ(testing_support::darkCells(convertCells(flat(63, 96, 255), options)), 0)
                << "all white, dither " << int(dither) << ", threshold " << t;
            EXPECT_EQ(testing_support::darkCells(convertCells(flat(63, 96, 0), options)), 63 * 96)
                << "all black, dither " << int(dither) << ", threshold " << t;
            const PixelGrid grid = convertCells(mixed, options);
            int wrong = 0;
            for (int y = 0; y < mixed.rows; ++y)
                for (int x = 0; x < mixed.columns; ++x)
                    wrong += (mixed.at(y, x) == 255 && grid.at(y, x) == 1) ||
                             (mixed.at(y, x) == 0 && grid.at(y, x) == 0);
            EXPECT_EQ(wrong, 0) << "mixed, dither " << int(dither) << ", threshold " << t;
        }
    }
}

// The ordered pattern darkens half of each tile at the threshold's grey, more below it and
// fewer above; at 128 each cell is dark where its grey is below 128 moved by its rank.
TEST(Conversion, OrderedThresholdShiftsThePattern) {
    for (Dither dither : {Dither::Ordered4, Dither::Ordered8}) {
        const int n = dither == Dither::Ordered4 ? 4 : 8;
        for (int t : {1, 30, 60, 100, 128, 170, 200, 254}) {
            int previous = n * n + 1;
            for (int grey = 0; grey <= 255; ++grey) {
                const int dark =
                    testing_support::darkCells(convertCells(flat(n, n, grey), {t, dither, false}));
                EXPECT_LE(dark, previous) << "n " << n << ", t " << t << ", grey " << grey;
                if (grey == t) {
                    EXPECT_EQ(dark, n * n / 2) << "n " << n << ", t " << t;
                }
                previous = dark;
            }
        }
        // At 128 the n^2 cells of a tile turn clear at the greys 128 + (2 r + 1 - n^2) 255 /
        // (2 n^2), r = 0 .. n^2 - 1, one cell each: the pattern this threshold always gave.
        std::vector<int> clearFrom(size_t(n * n), 256), expected;
        for (int grey = 255; grey >= 0; --grey) {
            const PixelGrid grid = convertCells(flat(n, n, grey), {128, dither, false});
            for (int i = 0; i < n * n; ++i)
                if (!grid.at(i / n, i % n))
                    clearFrom[size_t(i)] = grey;
        }
        const int twice = 2 * n * n;
        for (int rank = 0; rank < n * n; ++rank) {
            int grey = 0;
            while (grey * twice < 128 * twice + (2 * rank + 1 - n * n) * 255)
                ++grey;
            expected.push_back(grey);
        }
        std::sort(clearFrom.begin(), clearFrom.end());
        EXPECT_EQ(clearFrom, expected) << "n " << n;
    }
}

TEST(Conversion, OtsuLandsBetweenTwoLevels) {
    GreyCells cells = flat(10, 10, 200);
    for (int i = 0; i < 37; ++i)
        cells.grey[size_t(i)] = 40;
    const int t = otsuThreshold(cells);
    EXPECT_GT(t, 40);
    EXPECT_LE(t, 200);
    EXPECT_EQ(testing_support::darkCells(convertCells(cells, {t, Dither::None, false})), 37);
    EXPECT_EQ(otsuThreshold(flat(3, 3, 90)), 128); // one level: nothing to part
}
