// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

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
