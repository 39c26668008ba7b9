// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <gtest/gtest.h>

#include "core/formats/ti68k_names.h"

using namespace core;

namespace {

std::string utf8(const std::u32string& s) {
    std::string out;
    for (char32_t c : s) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6)), out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xE0 | (c >> 12)), out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace

TEST(Ti92Names, Rules) {
    struct Row {
        std::u32string name;
        NameKind kind;
        bool ok;
        const char* title;
        const char* message;
    };
    const Row rows[] = {
        {U"picture", NameKind::Variable, true, "", ""},
        {U"ABCdef12", NameKind::Folder, true, "", ""},
        {U"", NameKind::Variable, false, "Pic Var ERROR!", "Pic Var Name missing."},
        {U"", NameKind::Folder, false, "Folder Name ERROR!", "Folder Name missing."},
        {U"9lives", NameKind::Folder, false, "Folder Name ERROR!",
         "First character of Folder Name can't be digit."},
        {U"1st", NameKind::Variable, false, "Pic Var ERROR!",
         "First character of Pic Var Name can't be digit."},
        {U"pic_1", NameKind::Variable, false, "Pic Var ERROR!",
         "Invalid character \rin Pic Var Name: <_>"},
        {U"my dir", NameKind::Folder, false, "Folder Name ERROR!",
         "Invalid character \rin Folder Name: < >"},
        {U"\u03b1\u03b2\u03a9x1", NameKind::Variable, true, "", ""}, // Greek: codes 128..148
        {U"\u0393", NameKind::Folder, true, "", ""},                 // code 130
        {U"\u03c9", NameKind::Variable, true, "", ""},               // ω, code 148, the last
        {U"x\u03c9", NameKind::Folder, true, "", ""},
        {U"caf\u00e9", NameKind::Variable, false, "Pic Var ERROR!",
         "Invalid character \rin Pic Var Name: <\u00e9>"},
        {U"\u0436", NameKind::Variable, false, "Pic Var ERROR!",
         "Invalid character \rin Pic Var Name: <\u0436>"},
    };
    for (const Row& row : rows) {
        const NameVerdict verdict = checkName(row.name, row.kind);
        EXPECT_EQ(verdict.ok, row.ok) << utf8(row.name);
        if (!row.ok) {
            EXPECT_EQ(utf8(verdict.title), row.title) << utf8(row.name);
            EXPECT_EQ(utf8(verdict.message), row.message) << utf8(row.name);
        }
    }
}

TEST(Ti92Names, GreekLettersAreTheCalculatorCodes) {
    const auto bytes = encodeTi92(U"\u03b1\u03c9\u0393\u03b3x");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "\x80\x94\x82\x83x");
    EXPECT_EQ(decodeTi92(*bytes), U"\u03b1\u03c9\u0393\u03b3x");
    EXPECT_FALSE(encodeTi92(U"\u0436"));
    // Other high bytes read and write back unchanged.
    EXPECT_EQ(*encodeTi92(decodeTi92("\xC4\xFF")), "\xC4\xFF");
}
