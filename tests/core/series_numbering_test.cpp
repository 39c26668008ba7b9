// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/model/series_numbering.h"

using core::seriesName;

TEST(SeriesNumbering, ATrailingHashNumbersNamesWithinTheLongest) {
    struct Row {
        std::u32string pattern;
        int index;
        std::optional<std::u32string> expected;
    };
    const Row rows[] = {
        {U"frame#", 0, U"frame1"},      {U"frame#", 8, U"frame9"},
        {U"frame#", 9, U"frame10"},     {U"frame#", 99, U"frame100"},
        {U"frame#", 999, std::nullopt}, // frame1000 has nine characters
        {U"abcdefg#", 0, U"abcdefg1"},  {U"abcdefg#", 9, std::nullopt},
        {U"\u03c0#", 2, U"\u03c03"},    {U"#", 4, U"5"},
        {U"frame", 0, std::nullopt}, // nothing to number
        {U"fr#me", 0, std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(seriesName(row.pattern, row.index, 8), row.expected)
            << std::string(row.pattern.begin(), row.pattern.end()) << " " << row.index;
}

TEST(SeriesNumbering, EachFileOfASeriesHasItsNumberBeforeTheExtension) {
    struct Row {
        std::string output;
        int index;
        std::string expected;
    };
    const Row rows[] = {
        {"frame.8xi", 0, "frame-1.8xi"},
        {"frame.8xi", 9, "frame-10.8xi"},
        {"out/anim.v2i", 2, "out/anim-3.v2i"},
        {"out.d/frame", 0, "out.d/frame-1"},
        {"frame", 4, "frame-5"},
        {"dir/.8xi", 0, "dir/.8xi-1"},
        {"a.b.png", 1, "a.b-2.png"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(core::seriesFileName(row.output, row.index), row.expected) << row.output;
}
