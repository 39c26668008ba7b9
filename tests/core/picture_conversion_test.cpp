// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <algorithm>
#include <array>
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

namespace {

// Rows of greys, each row one list: for pictures whose greys are not multiples of 28.
GreyCells greys(std::initializer_list<std::initializer_list<int>> rows) {
    GreyCells cells;
    for (const auto& row : rows) {
        cells.columns = int(row.size());
        ++cells.rows;
        for (int g : row)
            cells.grey.push_back(std::int16_t(g));
    }
    return cells;
}

Tone levelsAuto() {
    Tone tone;
    tone.autoLevels = true;
    return tone;
}

} // namespace

// Each control on its own, then all four in their order, worked out by hand:
// v = g / 255 (or (g - low) / (high - low) with Auto levels), v^(1 / gamma), brightness b:
// v (1 + b) below 0, v + (1 - v) b above, contrast c: (v - 1/2) tan((c + 1) 45 deg) + 1/2,
// then the nearest of 0..255.
TEST(Tone, EachControlWorkedOutByHand) {
    struct Row {
        const char* name;
        Tone tone;
        int grey, expected;
    };
    auto with = [](int brightness, int contrast, double gamma) {
        Tone tone;
        tone.brightness = brightness;
        tone.contrast = contrast;
        tone.gamma = gamma;
        return tone;
    };
    const Row rows[] = {
        {"neutral", {}, 77, 77},
        {"brightness +50 halves the way to white", with(50, 0, 1), 101, 178}, // (101 + 77) / 255
        {"brightness +50 on black", with(50, 0, 1), 0, 128},                  // 127.5 rounds up
        {"brightness -50 halves the grey", with(-50, 0, 1), 200, 100},
        {"brightness +100 is white", with(100, 0, 1), 3, 255},
        {"brightness -100 is black", with(-100, 0, 1), 250, 0},
        {"contrast +50 steepens by tan 67.5 deg", with(0, 50, 1), 100, 61}, // 61.11
        {"contrast +50 above the middle", with(0, 50, 1), 160, 206},        // 205.96
        {"contrast -50 flattens by tan 22.5 deg", with(0, -50, 1), 0, 75},  // 74.69
        {"contrast -50 on white", with(0, -50, 1), 255, 180},               // 180.31
        {"contrast -100 is mid-grey", with(0, -100, 1), 13, 128},
        {"contrast +100 is a threshold, dark side", with(0, 100, 1), 127, 0},
        {"contrast +100 is a threshold, light side", with(0, 100, 1), 128, 255},
        {"gamma 2 lightens", with(0, 0, 2), 64, 128},    // sqrt(64 / 255) 255 = 127.75
        {"gamma 0.5 darkens", with(0, 0, 0.5), 128, 64}, // (128 / 255)^2 255 = 64.25
        {"gamma 5 lifts the darkest", with(0, 0, 5), 1, 84},
    };
    const GreyCells picture = greys({{0, 255}});
    for (const Row& row : rows)
        EXPECT_EQ(toneCurve(picture, row.tone)[size_t(row.grey)], row.expected) << row.name;

    // All four: levels 50..200 put 125 at 0.5; gamma 2 gives 0.70711; brightness -20 0.56569;
    // contrast 20 (tan 54 deg = 1.37638) 0.59041, which is 150.55 of 255.
    Tone all = with(-20, 20, 2);
    all.autoLevels = true;
    EXPECT_EQ(toneCurve(greys({{50, 125, 200}}), all)[125], 151);
}

TEST(Tone, AutoLevelsSpreadsALowContrastRampFromBlackToWhite) {
    // Greys 100..140 across 41 columns, 5 rows: 205 cells, of which at most one (0.5 %) may be
    // darker than the low end or lighter than the high end; every column has five.
    GreyCells ramp = flat(5, 41, 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 41; ++x)
            ramp.grey[size_t(y * 41 + x)] = std::int16_t(100 + x);
    EXPECT_EQ(autoLevelsRange(ramp), (std::array<int, 2>{100, 140}));
    const GreyCells toned = applyTone(ramp, levelsAuto());
    EXPECT_EQ(toned.at(0, 0), 0);
    EXPECT_EQ(toned.at(0, 10), 64);  // 10 / 40 of 255 = 63.75
    EXPECT_EQ(toned.at(0, 20), 128); // 127.5 rounds up
    EXPECT_EQ(toned.at(4, 40), 255);
    // Without levels the threshold at 128 parts the ramp at its 28th column, 100 + 28; with them
    // it parts the middle.
    ConversionOptions options{128, Dither::None, false};
    EXPECT_EQ(gridPicture(convertCells(ramp, options), 0, 0, 1, 41),
              std::string(28, '#') + std::string(13, '.') + "\n");
    options.tone = levelsAuto();
    EXPECT_EQ(gridPicture(convertCells(ramp, options), 0, 0, 1, 41),
              std::string(20, '#') + std::string(21, '.') + "\n");
    // The dithers now have black and white to work from: the dark end dark, the light end clear.
    for (Dither dither : {Dither::FloydSteinberg, Dither::Atkinson, Dither::Ordered8}) {
        options.dither = dither;
        const PixelGrid grid = convertCells(ramp, options);
        for (int y = 0; y < 5; ++y) {
            EXPECT_EQ(grid.at(y, 0), 1) << int(dither);
            EXPECT_EQ(grid.at(y, 40), 0) << int(dither);
        }
    }
}

TEST(Tone, AutoLevelsClipsAtMostHalfAPercentAtEachEnd) {
    // 1000 cells: 3 black and 3 white specks (fewer than the 5 that may be clipped), 10 of 50,
    // 10 of 200, the rest 120: the specks are clipped, 50 and 200 become the ends.
    GreyCells cells = flat(10, 100, 120);
    for (int i = 0; i < 3; ++i) {
        cells.grey[size_t(i)] = 0;
        cells.grey[size_t(999 - i)] = 255;
    }
    for (int i = 10; i < 20; ++i) {
        cells.grey[size_t(i)] = 50;
        cells.grey[size_t(970 + i)] = 200;
    }
    EXPECT_EQ(autoLevelsRange(cells), (std::array<int, 2>{50, 200}));
    // Six specks at each end are more than five: the ends stay where they are.
    cells.grey[3] = 0;
    cells.grey[5] = 0;
    cells.grey[996] = 255;
    cells.grey[995] = 255;
    cells.grey[994] = 255;
    cells.grey[4] = 0;
    EXPECT_EQ(autoLevelsRange(cells), (std::array<int, 2>{0, 255}));
    // Cells off the picture count for nothing and stay off it; a flat picture is left as it is.
    GreyCells margin = flat(1, 4, 90);
    margin.grey[0] = GreyCells::kNoPicture;
    margin.grey[3] = 130;
    EXPECT_EQ(autoLevelsRange(margin), (std::array<int, 2>{90, 130}));
    EXPECT_EQ(applyTone(margin, levelsAuto()).grey, (std::vector<std::int16_t>{-1, 0, 0, 255}));
    EXPECT_EQ(applyTone(flat(2, 2, 90), levelsAuto()).grey, flat(2, 2, 90).grey);
}

TEST(Tone, OtsuPartsThePictureAsTheToneLeavesIt) {
    // Two close greys: gamma 0.5 pulls both down, and Otsu's threshold follows them.
    GreyCells cells = flat(4, 4, 150);
    for (int i = 0; i < 8; ++i)
        cells.grey[size_t(i)] = 130;
    Tone darker;
    darker.gamma = 0.5;
    const int plain = otsuThreshold(cells), toned = otsuThreshold(cells, darker);
    EXPECT_GT(plain, 130);
    EXPECT_LE(plain, 150);
    EXPECT_GT(toned, 66); // (130 / 255)^2 255 = 66.27
    EXPECT_LE(toned, 88); // (150 / 255)^2 255 = 88.24
    ConversionOptions options{toned, Dither::None, false};
    options.tone = darker;
    EXPECT_EQ(testing_support::darkCells(convertCells(cells, options)), 8);
}

TEST(Dither, StrengthIsTheShareOfTheErrorSpread) {
    // Six cells of grey 100, Floyd-Steinberg at 128, values x16 (dark below 2048).
    // Full strength: 1600 dark, +1600 * 7/16 = 700 -> 2300 clear, -1780 * 7/16 = -778 -> 822
    // dark, +359 -> 1959 dark, +857 -> 2457 clear, -1623 * 7/16 = -710 -> 890 dark.
    const GreyCells row = flat(1, 6, 100);
    ConversionOptions options{128, Dither::FloydSteinberg, false};
    EXPECT_EQ(all(convertCells(row, options)), "#.##.#\n");
    // Half strength: 1600, +350 -> 1950, +426 -> 2026, +443 -> 2043 ... never reaching 2048.
    options.strength = 50;
    EXPECT_EQ(all(convertCells(row, options)), "######\n");
    // No strength is the threshold alone, whatever the picture, for both error diffusions.
    GreyCells mixed = flat(20, 30, 0);
    for (size_t i = 0; i < mixed.grey.size(); ++i)
        mixed.grey[i] = std::int16_t((i * 37) % 256);
    for (Dither dither : {Dither::FloydSteinberg, Dither::Atkinson}) {
        ConversionOptions none{100, dither, false};
        none.strength = 0;
        EXPECT_EQ(convertCells(mixed, none), convertCells(mixed, {100, Dither::None, false}));
    }
    // Atkinson at half strength: an eighth of the error halved to the next two cells; grey 128
    // x8: 1024 clear, -1016 / 16 = -63 to each of the next two -> 961 dark, +961 / 16 = 60 ->
    // 1024 - 63 + 60 = 1021 dark.
    ConversionOptions atkinson{128, Dither::Atkinson, false};
    atkinson.strength = 50;
    EXPECT_EQ(all(convertCells(flat(1, 3, 128), atkinson)), ".##\n");
}

TEST(Dither, SerpentineRunsEveryOtherRowRightToLeft) {
    // Two rows of grey 190. Row 0 is the same either way; row 1 receives the same errors from
    // above, but run from the right with the shares mirrored its pattern starts at the right.
    const GreyCells cells = flat(2, 4, 190);
    ConversionOptions options{128, Dither::FloydSteinberg, false};
    EXPECT_EQ(all(convertCells(cells, options)), picture({"....", ".#.#"}));
    options.serpentine = true;
    EXPECT_EQ(all(convertCells(cells, options)), picture({"....", "#.#."}));
    // A row of one kind of cell reads the same in both directions: only row 1 changes.
    options.dither = Dither::Atkinson;
    const PixelGrid serpentine = convertCells(flat(3, 5, 100), options);
    options.serpentine = false;
    const PixelGrid straight = convertCells(flat(3, 5, 100), options);
    EXPECT_EQ(gridPicture(serpentine, 0, 0, 1, 5), gridPicture(straight, 0, 0, 1, 5));
}
