// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <cmath>

#include <gtest/gtest.h>

#include "core/model/calculator_profile.h"
#include "core/model/import_mapping.h"
#include "core/model/number_text.h"
#include "core/model/page_settings.h"
#include "core/model/print_layout.h"

using namespace core;

TEST(SignedNumber, LeadingBlankNoLeadingZeroFifteenDigits) {
    const std::pair<double, const char*> rows[] = {
        {12, " 12"},        {30, " 30"},       {-1, "-1"},       {0, " 0"},
        {1.1, " 1.1"},      {0.9, " .9"},      {-0.1, "-.1"},    {1.0 + 0.1, " 1.1"},
        {0.1 + 0.2, " .3"}, {4.1 - 0.1, " 4"}, {1e20, " 1E+20"}, {2.0 / 3, " .666666666666667"},
    };
    for (auto [value, text] : rows)
        EXPECT_EQ(signedNumber(value), text) << value;
}

TEST(PlainNumber, ShortestFormWithoutBlank) {
    EXPECT_EQ(plainNumber(1), "1");
    EXPECT_EQ(plainNumber(4), "4");
    EXPECT_EQ(plainNumber(1.5), "1.5");
    EXPECT_EQ(plainNumber(0.1), "0.1");
    EXPECT_EQ(plainNumber(-2), "-2");
}

TEST(LeadingNumber, ReadsTheLeadingDecimalNumber) {
    const std::pair<const char*, double> rows[] = {
        {" 1", 1},      {"1.5", 1.5},      {" .9", 0.9},   {"-.1", -0.1}, {"+2", 2},
        {"abc", 0},     {"", 0},           {"3in", 3},     {"1e2", 100},  {"1e", 1},
        {"1.5.2", 1.5}, {" - 1 .5", -1.5}, {"2E-1x", 0.2}, {"1,5", 1},    {".", 0},
        {"-", 0},       {"1e999", 0},
    };
    for (auto [text, value] : rows)
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << '"' << text << '"';
}

TEST(PageFields, FloorsAndArrowSteps) {
    EXPECT_EQ(floorReplacement("-2", kMarginFloor), "0");
    EXPECT_EQ(floorReplacement("0", kMarginFloor), "");
    EXPECT_EQ(floorReplacement("abc", kMarginFloor), ""); // letters count as 0 and stay
    EXPECT_EQ(floorReplacement("0.05", kWidthFloor), "0.1");
    EXPECT_EQ(floorReplacement("0.1", kWidthFloor), "");

    EXPECT_EQ(steppedText("1", +0.1), " 1.1");
    EXPECT_EQ(steppedText("0", -0.1), "-.1");
    EXPECT_EQ(steppedText("0.1", -0.1), " 0");
    EXPECT_EQ(steppedText(" 1.1", -0.1), " 1");
    EXPECT_EQ(floorReplacement(steppedText("0.1", -0.1), kWidthFloor), "0.1");
}

namespace {

PixelGrid gridWith(const CalculatorProfile& p, std::initializer_list<std::pair<int, int>> cells) {
    PixelGrid grid(p.rows, p.columns);
    for (auto [r, c] : cells)
        grid.set(r, c, 1);
    return grid;
}

} // namespace

TEST(PrintPage, DefaultGeometryOfBothPrograms) {
    struct Row {
        const CalculatorProfile& profile;
        float pitch;
    };
    for (const Row& row :
         {Row{CalculatorProfile::dotwell(), 60}, Row{CalculatorProfile::pixvane(), 24}}) {
        const CalculatorProfile& p = row.profile;
        const auto page = printPage(gridWith(p, {{0, 0}, {p.rows - 1, p.columns - 1}}), {});
        ASSERT_EQ(page.size(), 3u);
        EXPECT_EQ(page[0], (PrintRect{1440, 1440, 1440 + 0.75f * row.pitch,
                                      1440 + 0.75f * row.pitch, true, 0}));
        const PrintRect& frame = page[2];
        EXPECT_FALSE(frame.filled);
        EXPECT_EQ(frame.penWidth, 5);
        EXPECT_FLOAT_EQ(frame.x2 - frame.x1, 4 * 1440 + 20);
        // The last cell ends a quarter pitch plus 10 twips inside the frame.
        EXPECT_NEAR(frame.x2 - page[1].x2, row.pitch / 4 + 10, 1e-3);
        EXPECT_NEAR(frame.y2 - page[1].y2, row.pitch / 4 + 10, 1e-3);
    }
}

TEST(PrintPage, ASettingBeyondAnyPageIsNotPrintable) {
    EXPECT_TRUE(core::printable({}));
    EXPECT_TRUE(core::printable({0, 0, core::kLargestPrintInches}));
    for (core::PageSettings settings : {core::PageSettings{1, 1, 1e300},
                                        {1e300, 1, 4},
                                        {1, 5000, 4},
                                        {-1, 1, 4},
                                        {1, 1, HUGE_VAL}})
        EXPECT_FALSE(core::printable(settings))
            << settings.topMargin << " " << settings.leftMargin << " " << settings.imageWidth;
}

TEST(PrintPage, AllClearPrintsOnlyTheFrameAndZeroMarginsReachOutside) {
    const auto page = printPage(PixelGrid(63, 96), {0, 0, 2});
    ASSERT_EQ(page.size(), 1u);
    EXPECT_EQ(page[0], (PrintRect{-10, -10, 2 * 1440 + 10, 63 * 30 + 10, false, 5}));
}

TEST(ImportScan, CentresSmallPicturesAndCapsLargeOnes) {
    const auto& d = CalculatorProfile::dotwell();
    const auto& p = CalculatorProfile::pixvane();
    struct Row {
        const CalculatorProfile& profile;
        int w, h;
        ImportScan expected;
    };
    const Row rows[] = {
        {d, 10, 10, {9, 9, 26, 42}},     {d, 96, 63, {62, 95, 0, 0}},
        {d, 200, 100, {62, 95, 0, 0}},   {d, 95, 62, {61, 94, 0, 0}},
        {p, 10, 10, {10, 10, 46, 115}},  {p, 239, 103, {103, 239, 0, 1}},
        {p, 240, 104, {103, 239, 0, 0}}, {p, 1, 1, {1, 1, 51, 120}},
    };
    for (const Row& r : rows) {
        const ImportScan s = importScan(r.profile, r.w, r.h);
        EXPECT_EQ(s.lastRow, r.expected.lastRow) << r.w << "x" << r.h;
        EXPECT_EQ(s.lastColumn, r.expected.lastColumn) << r.w << "x" << r.h;
        EXPECT_EQ(s.rowOffset, r.expected.rowOffset) << r.w << "x" << r.h;
        EXPECT_EQ(s.columnOffset, r.expected.columnOffset) << r.w << "x" << r.h;
    }
}

#include "core/model/codepage.h"

TEST(Windows1252, RoundTripsAndRefusesWhatItCannotStore) {
    const std::u32string text = U"Caf\u00e9 \u20ac5 \u201cok\u201d";
    const auto bytes = encodeWindows1252(text);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "Caf\xe9 \x80"
                      "5 \x93ok\x94");
    EXPECT_EQ(decodeWindows1252(*bytes), text);
    EXPECT_FALSE(encodeWindows1252(U"\u03b1"));     // Greek alpha has no byte
    EXPECT_FALSE(encodeWindows1252(U"\U0001F600")); // nor has an emoji
    // The five undefined bytes survive a round trip.
    EXPECT_EQ(*encodeWindows1252(decodeWindows1252("\x81\x8d\x8f\x90\x9d")),
              "\x81\x8d\x8f\x90\x9d");
    EXPECT_EQ(untilNul(std::string_view("ab\0cd", 5)), "ab");
}

TEST(Utf8, RoundTripsAndReplacesWhatIsIllFormed) {
    const std::u32string text = U"a\u00e9\u03c0\u20ac\U0001F600";
    EXPECT_EQ(toUtf8(text), "a\xC3\xA9\xCF\x80\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
    // A lone continuation byte, an overlong slash, a surrogate, a cut-off sequence, past U+10FFFF.
    EXPECT_EQ(fromUtf8("\x80"), U"\uFFFD");
    EXPECT_EQ(fromUtf8("\xC0\xAF"), U"\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xE0\x80\xAF"), U"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xED\xA0\x80x"), U"\uFFFD\uFFFD\uFFFDx");
    EXPECT_EQ(fromUtf8("ab\xE2\x82"), U"ab\uFFFD\uFFFD");
    EXPECT_EQ(fromUtf8("\xF4\x90\x80\x80"), U"\uFFFD\uFFFD\uFFFD\uFFFD");
}
