// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/formats/format_registry.h"
#include "tests/support/grid_pictures.h"

using namespace core;

namespace {

std::string_view bytesView(const std::vector<std::uint8_t>& b) {
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}

} // namespace

// The editors' extension test: the name's last characters, in any letter case.
TEST(FormatRegistry, NamesAndSignaturesFindTheirFormat) {
    const std::pair<const char*, const FormatDescriptor*> names[] = {
        {"a.82i", &formatOf(FormatId::Ti82)},
        {"A.83I", &formatOf(FormatId::Ti83)},
        {"x83i", &formatOf(FormatId::Ti83)}, // only the last three characters
        {"pic.8Xi", &formatOf(FormatId::Ti83Plus)},
        {"p.92I", &formatOf(FormatId::Ti92)},
        {"p.9xi", &formatOf(FormatId::Ti92Plus)},
        {"P.V2I", &formatOf(FormatId::Voyage200)},
        {"p.73I", &formatOf(FormatId::Ti73)},
        {"p.85i", &formatOf(FormatId::Ti85)},
        {"p.86i", &formatOf(FormatId::Ti86)},
        {"p.89i", &formatOf(FormatId::Ti89)},
        {"p.8ci", &formatOf(FormatId::Ti84CePicture)},
        {"P.8CA", &formatOf(FormatId::Ti84CeImage)},
        {"a.bmp", nullptr},
        {"2i", nullptr},
        {"", nullptr},
    };
    for (const auto& [name, format] : names)
        EXPECT_EQ(formatForName(name), format) << name;

    const std::pair<std::string_view, const FormatDescriptor*> signatures[] = {
        {"**TI82**rest", &formatOf(FormatId::Ti82)},
        {"**TI83**", &formatOf(FormatId::Ti83)},
        {"**TI83F*", &formatOf(FormatId::Ti83Plus)},
        {"**TI92**", &formatOf(FormatId::Ti92)},
        {"**TI92P*", &formatOf(FormatId::Ti92Plus)}, // shared with the Voyage 200: the first
        {"**TI86**", &formatOf(FormatId::Ti86)},
        {"**TI73**", &formatOf(FormatId::Ti73)},
        {"**TI85**", &formatOf(FormatId::Ti85)},
        {"**TI89**", &formatOf(FormatId::Ti89)},
        {"**V200**", &formatOf(FormatId::Voyage200)}, // as some link programs write it
        {"**TI84C*", nullptr},
        {"**TI9", nullptr},
    };
    for (const auto& [head, format] : signatures)
        EXPECT_EQ(formatForContent(head), format) << head;
}

// The editors' filters come from the registry: the first entries exactly the programs' texts,
// the later calculators' after them.
TEST(FormatRegistry, DialogFiltersKeepTheirTextsAndOrder) {
    const FilterEntry dotwellOpen[] = {{2, "All Files|*.*"}};
    const FilterEntry dotwellSave[] = {{3, "Bitmaps (*.bmp)|*.bmp"},
                                       {5, "PNG images (*.png)|*.png"}};
    const FilterEntry pixvaneSave[] = {{2, "Bitmaps (*.bmp)|*.bmp"},
                                       {5, "PNG images (*.png)|*.png"}};
    const std::pair<std::string, std::string> rows[] = {
        {dialogFilter(Program::Dotwell, false, dotwellOpen),
         "82/3 Images|*.82i;*.83i|All Files|*.*|TI-83 Plus/84 Plus Images|*.8xi|"
         "TI-73 Pictures|*.73i|TI-85 Pictures|*.85i|TI-86 Pictures|*.86i|"
         "TI-84 Plus CE Pictures|*.8ci|TI-84 Plus CE Images|*.8ca"},
        {dialogFilter(Program::Dotwell, true, dotwellSave),
         "TI-82 Image Files (*.82i)|*.82i|TI-83 Image Files (*.83I)|*.83I|Bitmaps (*.bmp)|*.bmp|"
         "TI-83 Plus/84 Plus Image Files (*.8xi)|*.8xi|PNG images (*.png)|*.png|"
         "TI-73 Pictures (*.73i)|*.73i|TI-85 Pictures (*.85i)|*.85i|TI-86 Pictures "
         "(*.86i)|*.86i|TI-84 Plus CE Pictures (*.8ci)|*.8ci|TI-84 Plus CE Images (*.8ca)|*.8ca"},
        {dialogFilter(Program::Pixvane, false, {}),
         "TI-92 Image Files (*.92i)|*.92i|TI-92 Plus/Voyage 200 Pictures|*.9xi;*.v2i|"
         "TI-89 Pictures|*.89i"},
        {dialogFilter(Program::Pixvane, true, pixvaneSave),
         "TI-92 Image Files (*.92I)|*.92I|Bitmaps (*.bmp)|*.bmp|TI-92 Plus Pictures "
         "(*.9xi)|*.9xi|Voyage 200 Pictures (*.v2i)|*.v2i|PNG images (*.png)|*.png|TI-89 "
         "Pictures (*.89i)|*.89i"},
    };
    for (const auto& [built, expected] : rows)
        EXPECT_EQ(built, expected);
}

// Pic1..Pic9, Pic0 are the bytes 0..9; the TI-82 has the first six only.
TEST(FormatRegistry, PicNumbersExistOnceForEveryModel) {
    EXPECT_EQ(picByte(1), 0);
    EXPECT_EQ(picByte(0), 9);
    EXPECT_EQ(picNumberOfByte(9), 0);
    for (int byte = -1; byte <= 10; ++byte) {
        EXPECT_EQ(picAllowed(formatOf(FormatId::Ti82), byte), byte >= 0 && byte <= 5) << byte;
        EXPECT_EQ(picAllowed(formatOf(FormatId::Ti83Plus), byte), byte >= 0 && byte <= 9) << byte;
    }
    EXPECT_FALSE(picAllowed(formatOf(FormatId::Ti92), 0)); // a 68k picture has a name
}

// Every format writes a new picture that it reads back the same, and refuses what its
// calculators cannot store.
TEST(FormatRegistry, EveryFormatReadsWhatItWritesAndRefusesWhatItCannotStore) {
    for (const FormatDescriptor& f : allFormats()) {
        SCOPED_TRACE(std::string(f.extension));
        CalculatorPicture picture = newPicture(f.id);
        picture.grid.set(0, 0, 1);
        picture.grid.set(picture.grid.rows() - 1, picture.grid.columns() - 1, 1);
        setVariable(picture, {3, U"games", U"sprite"});
        const auto written = writePicture(picture, f.id);
        ASSERT_TRUE(std::holds_alternative<std::vector<std::uint8_t>>(written));
        const auto& bytes = std::get<std::vector<std::uint8_t>>(written);
        EXPECT_EQ(bytesView(bytes).substr(0, 8), f.signature);
        EXPECT_EQ(formatForContent(bytesView(bytes))->family, f.family);
        const auto read = readPicture(bytesView(bytes), f.id);
        ASSERT_TRUE(std::holds_alternative<CalculatorPicture>(read));
        const CalculatorPicture& back = std::get<CalculatorPicture>(read);
        EXPECT_EQ(back.grid, picture.grid);
        EXPECT_EQ(back.comment, picture.comment);
        EXPECT_EQ(variableName(back), f.family == Family::Ti83 ? std::string(f.variablePrefix) + "3"
                                      : f.family == Family::Ti85 ? "sprite"
                                                                 : "games\\sprite");
        const auto report = examinePicture(bytesView(bytes), bytes.size(), f.id);
        ASSERT_TRUE(std::holds_alternative<FileReport>(report));
        EXPECT_TRUE(std::get<FileReport>(report).checksumOk());
        EXPECT_TRUE(std::get<FileReport>(report).notes.empty());
    }
    CalculatorPicture pic0 = newPicture(FormatId::Ti82);
    setVariable(pic0, {0, {}, {}});
    EXPECT_EQ(std::get<std::string>(writePicture(pic0, FormatId::Ti82)),
              "OOPS! TI-82 PIC variable must be 1..6");
    CalculatorPicture bad = newPicture(FormatId::Ti92);
    setVariable(bad, {{}, U"9lives", {}});
    EXPECT_EQ(std::get<std::string>(writePicture(bad, FormatId::Ti92)),
              "Folder Name ERROR! First character of Folder Name can't be digit.");
}

TEST(FormatRegistry, DamagedFilesGiveTheReasonTheEditorsTell) {
    const std::tuple<FormatId, std::string, ReadFailure> rows[] = {
        {FormatId::Ti83, std::string(61, 'x'), ReadFailure::TooShort},
        {FormatId::Ti83Plus, std::string(100, 'x'), ReadFailure::Invalid},
        {FormatId::Ti92, std::string(91, 'x'), ReadFailure::TooShort},
    };
    for (const auto& [format, bytes, kind] : rows) {
        const auto read = readPicture(bytes, format);
        ASSERT_TRUE(std::holds_alternative<ReadError>(read));
        EXPECT_EQ(std::get<ReadError>(read).kind, kind);
        EXPECT_FALSE(std::get<ReadError>(read).reason.empty());
    }
    std::string tenth(830, '\0');
    tenth[61] = 10;
    EXPECT_EQ(std::get<ReadError>(readPicture(tenth, FormatId::Ti83)).reason,
              "not a TI-82/83 picture: its PIC number byte is 10, not 0 to 9");
}

// A series of pictures takes the PIC numbers in the calculator's order, each format up to its
// own last: the TI-82 has six, the others ten.
TEST(FormatRegistry, ASeriesTakesPic1ToPic9ThenPic0UpToTheFormatsLast) {
    for (const core::FormatDescriptor& format : core::allFormats()) {
        std::vector<int> series;
        for (int i = 0; i < 20; ++i)
            if (const std::optional<int> n = core::seriesPicNumber(format, i))
                series.push_back(*n);
        std::vector<int> expected;
        if (format.picNumbers == 10)
            expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
        else if (format.picNumbers == 6)
            expected = {1, 2, 3, 4, 5, 6};
        EXPECT_EQ(series, expected) << format.extension;
        EXPECT_FALSE(core::seriesPicNumber(format, -1)) << format.extension;
    }
    EXPECT_EQ(core::formatForName("82i")->picNumbers, 6);
}
