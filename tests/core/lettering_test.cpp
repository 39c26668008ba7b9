// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/formats/ti68k_names.h"
#include "core/model/lettering.h"
#include "core/model/text_entry.h"
#include "tests/support/grid_pictures.h"

using namespace core;
using testing_support::cellsPicture;
using testing_support::picture;

namespace {

// Printable ASCII and the Greek letters of the TI-92's names, from its own character set.
std::u32string expectedCharacters() {
    std::u32string codes;
    for (char32_t c = 0x20; c <= 0x7E; ++c)
        codes += c;
    std::string greek;
    for (int b = 0x80; b <= 0x94; ++b)
        greek += char(b);
    return codes + decodeTi92(greek);
}

std::vector<std::pair<int, int>> laidOut(Lettering lettering, std::u32string_view text, int left,
                                         int top, int* next = nullptr) {
    std::vector<std::pair<int, int>> cells;
    const int end = layOutText(lettering, text, left, top,
                               [&cells](int c, int r) { cells.emplace_back(c, r); });
    if (next)
        *next = end;
    return cells;
}

std::string glyphPicture(const Glyph& glyph) {
    std::string out;
    for (int r = 0; r < glyph.height(); ++r)
        for (int c = 0; c < glyph.width(); ++c)
            out += glyph.dark(c, r) ? '#' : '.';
    return out;
}

} // namespace

TEST(Lettering, EveryCharacterHasAGlyphOfItsLetteringsSize) {
    const struct {
        Lettering lettering;
        int rows;
        int narrowest;
        int widest;
    } letterings[] = {{Lettering::Small, 5, 1, 5}, {Lettering::Large, 7, 5, 5}};
    const std::u32string expected = expectedCharacters();
    ASSERT_EQ(expected.size(), 95u + 21u);
    for (const auto& l : letterings) {
        SCOPED_TRACE(l.lettering == Lettering::Small ? "small" : "large");
        EXPECT_EQ(glyphRows(l.lettering), l.rows);
        EXPECT_EQ(letteringCharacters(l.lettering).size(), expected.size());
        std::map<std::string, char32_t> seen; // no two characters look the same
        for (char32_t code : expected) {
            const auto glyph = glyphOf(l.lettering, code);
            ASSERT_TRUE(glyph) << "no glyph for U+" << std::hex << unsigned(code);
            EXPECT_EQ(glyph->height(), l.rows) << std::hex << unsigned(code);
            EXPECT_GE(glyph->width(), l.narrowest) << std::hex << unsigned(code);
            EXPECT_LE(glyph->width(), l.widest) << std::hex << unsigned(code);
            EXPECT_FALSE(glyph->dark(glyph->width(), 0)); // nothing past its edges
            EXPECT_FALSE(glyph->dark(0, glyph->height()));
            const std::string cells = glyphPicture(*glyph);
            EXPECT_EQ(code == U' ', cells.find('#') == std::string::npos)
                << "U+" << std::hex << unsigned(code) << " is blank or the blank is not";
            const auto [it, fresh] = seen.emplace(cells, code);
            EXPECT_TRUE(fresh) << "U+" << std::hex << unsigned(code) << " looks like U+"
                               << unsigned(it->second);
        }
        EXPECT_FALSE(glyphOf(l.lettering, U'\u4E00'));
        EXPECT_FALSE(glyphOf(l.lettering, U'\n'));
    }
}

TEST(Lettering, ALineIsLaidOutGlyphAfterGlyphWithAClearColumnBetween) {
    int next = 0;
    // Small: H is three columns, i one, ! one.
    EXPECT_EQ(cellsPicture(laidOut(Lettering::Small, U"Hi!", 1, 1, &next), 0, 0, 7, 9),
              picture({".........", //
                       ".#.#.#.#.", //
                       ".#.#...#.", //
                       ".###.#.#.", //
                       ".#.#.#...", //
                       ".#.#.#.#.", //
                       "........."}));
    EXPECT_EQ(next, 9);
    // Large: every glyph five columns in a cell of six.
    EXPECT_EQ(cellsPicture(laidOut(Lettering::Large, U"T1", 0, 0, &next), 0, 0, 8, 12),
              picture({"#####...#...", //
                       "..#....##...", //
                       "..#.....#...", //
                       "..#.....#...", //
                       "..#.....#...", //
                       "..#.....#...", //
                       "..#....###..", //
                       "............"}));
    EXPECT_EQ(next, 12);
    // Greek, off the top-left edge: cells past the picture are reported as they fall.
    EXPECT_EQ(cellsPicture(laidOut(Lettering::Small, U"\u03C0", -1, -1), -1, -1, 5, 4),
              picture({"....", //
                       "####", //
                       ".#.#", //
                       ".#.#", //
                       ".#.#"}));
    // A character the lettering lacks is passed over.
    EXPECT_EQ(laidOut(Lettering::Large, U"a\u4E00b", 3, 4), laidOut(Lettering::Large, U"ab", 3, 4));
}

TEST(TextEntry, TypingBackspaceAndTheCaret) {
    TextEntry text;
    EXPECT_FALSE(text.type(U'A')); // nothing started
    text.start(10, 20, Lettering::Small, Ink::Clear);
    EXPECT_EQ(text.caret(), (CellRect{10, 20, 1, 5}));
    EXPECT_TRUE(text.type(U'A'));
    EXPECT_TRUE(text.type(U'\u03A9'));
    EXPECT_FALSE(text.type(U'\u4E00'));
    EXPECT_EQ(text.text(), U"A\u03A9");
    EXPECT_EQ(text.caret().left, 10 + 4 + 6); // A is 3 wide, omega 5
    EXPECT_EQ(text.cells(), laidOut(Lettering::Small, U"A\u03A9", 10, 20));
    text.setLettering(Lettering::Large);
    EXPECT_EQ(text.caret(), (CellRect{22, 20, 1, 7}));
    EXPECT_TRUE(text.backspace());
    EXPECT_TRUE(text.backspace());
    EXPECT_FALSE(text.backspace());
    EXPECT_EQ(text.ink(), Ink::Clear);
    text.end();
    EXPECT_FALSE(text.active());
}
