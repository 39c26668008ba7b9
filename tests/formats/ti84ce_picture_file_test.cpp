// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <string>

#include <QByteArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/formats/format_registry.h"
#include "core/formats/format_texts.h"
#include "core/formats/ti84ce_picture_file.h"
#include "tests/support/colour_samples.h"
#include "tests/support/files.h"
#include "tests/support/tifiles_check.h"

using namespace core;
using namespace testing_support;

namespace {

std::string_view view(const QByteArray& b) {
    return {b.constData(), size_t(b.size())};
}
std::string_view view(const Bytes& b) {
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}
QByteArray qbytes(const Bytes& b) {
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
}

QByteArray withoutComment(QByteArray file) {
    return file.replace(11, 42, QByteArray(42, '\0'));
}

// A picture of ours: the sample cells as Pic7 or Image7.
Bytes ours(FormatId format) {
    CalculatorPicture picture = newPicture(format);
    picture.grid = format == FormatId::Ti84CePicture ? paletteSample() : rgbSample();
    picture.comment = "made here";
    setVariable(picture, {7, {}, {}});
    return std::get<Bytes>(writePicture(picture, format));
}

} // namespace

// Files libtifiles writes itself, with every palette index, the RGB565 corners and padding
// pixels that are not zero: read with the right cells and variable, written back byte for
// byte, the comment field's bytes after its NUL included.
TEST(Ti84CeFile, LinkLibraryFilesReadAndWriteBackByteIdentical) {
    QTemporaryDir dir;
    struct Row {
        FormatId format;
        const char* file;
        int nameByte;
        int number; // the byte: 0 is Pic1 / Image1, 9 is Pic0 / Image0
        int type;
        int version;
        const char* variable;
    };
    const Row rows[] = {
        {FormatId::Ti84CePicture, "first.8ci", 0x60, 0, 0x07, 0x0A, "Pic1"},
        {FormatId::Ti84CePicture, "last.8ci", 0x60, 9, 0x07, 0x0A, "Pic0"},
        {FormatId::Ti84CeImage, "first.8ca", 0x3C, 0, 0x1A, 0x00, "Image1"},
        {FormatId::Ti84CeImage, "last.8ca", 0x3C, 9, 0x1A, 0x00, "Image0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        const bool image = row.format == FormatId::Ti84CeImage;
        const PixelGrid cells = image ? rgbSample() : paletteSample();
        const QString path = dir.filePath(row.file);
        testing_support::TifilesVariable variable{
            "",          std::string{char(row.nameByte), char(row.number)},    row.type, 0,
            "from tilp", image ? imageData(cells, 0xA500) : pictureData(cells)};
        variable.version = row.version;
        ASSERT_EQ(testing_support::writeWithTifiles(path, variable), QString());
        const QByteArray file = testing_support::readAll(path);
        EXPECT_EQ(formatForContent(view(file)), &formatOf(row.format));
        const auto read = readPicture(view(file), row.format);
        ASSERT_TRUE(std::holds_alternative<CalculatorPicture>(read))
            << std::get<ReadError>(read).reason;
        CalculatorPicture picture = std::get<CalculatorPicture>(read);
        EXPECT_EQ(picture.grid, cells);
        EXPECT_EQ(variableName(picture), row.variable);
        EXPECT_EQ(picture.comment, "from tilp");
        const auto report = examinePicture(view(file), std::uint64_t(file.size()), row.format);
        ASSERT_TRUE(std::holds_alternative<FileReport>(report));
        EXPECT_TRUE(std::get<FileReport>(report).checksumOk());
        EXPECT_EQ(std::get<FileReport>(report).notes, std::vector<std::string>());
        const auto written = writePicture(picture, row.format);
        ASSERT_TRUE(std::holds_alternative<Bytes>(written));
        EXPECT_EQ(qbytes(std::get<Bytes>(written)), file);
    }
}

// What we write, libtifiles reads with its checksum right, as the type, name, version and data
// the layout gives, and writes back the same.
TEST(Ti84CeFile, TheLinkLibraryReadsWhatWeWrite) {
    QTemporaryDir dir;
    const std::tuple<FormatId, const char*, int, std::string, int, Bytes> rows[] = {
        {FormatId::Ti84CePicture, "ours.8ci", 0x07, std::string("\x60\x06", 2), 0x0A,
         pictureData(paletteSample())},
        {FormatId::Ti84CeImage, "ours.8ca", 0x1A, std::string("\x3C\x06", 2), 0x00,
         imageData(rgbSample(), 0)},
    };
    for (const auto& [format, name, type, rawName, version, data] : rows) {
        SCOPED_TRACE(name);
        Bytes bytes = ours(format);
        // Our padding pixels are 0; the made-here data has row numbers in them.
        Bytes expected = data;
        if (format == FormatId::Ti84CeImage)
            for (size_t row = 0; row < 83; ++row)
                expected[3 + row * 268 + 266] = expected[3 + row * 268 + 267] = 0;
        const QString path = dir.filePath(name);
        testing_support::writeAll(path, qbytes(bytes));
        const auto seen = testing_support::readWithTifiles(path);
        ASSERT_EQ(seen.error, 0);
        EXPECT_EQ(seen.checksum, seen.storedChecksum);
        EXPECT_EQ(seen.type, type);
        EXPECT_EQ(seen.rawName.substr(0, 2), rawName);
        EXPECT_EQ(seen.version, version);
        EXPECT_EQ(seen.data, expected);
        EXPECT_EQ(seen.comment, "made here");
        EXPECT_EQ(withoutComment(seen.writeBack), withoutComment(qbytes(bytes)));
    }
}

// The cells' places in the file: a picture top row first, nibbles left to right; an image
// bottom row first, little-endian, a padding pixel after each row's 133.
TEST(Ti84CeFile, RowsAndPaddingAreWhereTheLayoutPutsThem) {
    CalculatorPicture picture = newPicture(FormatId::Ti84CePicture);
    picture.grid.set(0, 0, 0x1);
    picture.grid.set(0, 1, 0x2);
    picture.grid.set(0, 265, 0xF);
    picture.grid.set(164, 0, 0x8);
    const Bytes pic = std::get<Bytes>(writePicture(picture, FormatId::Ti84CePicture));
    ASSERT_EQ(pic.size(), 22021u);
    const std::pair<size_t, int> picBytes[] = {
        {74, 0x12}, {74 + 132, 0x0F}, {74 + 164 * 133, 0x80}, {75, 0x00}};
    for (const auto& [at, value] : picBytes)
        EXPECT_EQ(pic[at], value) << at;

    CalculatorPicture image = newPicture(FormatId::Ti84CeImage);
    EXPECT_EQ(image.grid.at(40, 40), std::int16_t(0xFFFF)); // a new image is white
    image.grid.set(0, 0, std::int16_t(0xF800));             // top left
    image.grid.set(82, 0, std::int16_t(0x07E0));            // bottom left
    image.grid.set(82, 132, std::int16_t(0x001F));          // bottom right
    const Bytes img = std::get<Bytes>(writePicture(image, FormatId::Ti84CeImage));
    ASSERT_EQ(img.size(), 22321u);
    const std::pair<size_t, int> imgBytes[] = {
        {74, 0x81},
        {75, 0xE0},
        {76, 0x07}, // the bottom row first
        {75 + 264, 0x1F},
        {75 + 265, 0x00}, // its 133rd pixel
        {75 + 266, 0x00},
        {75 + 267, 0x00}, // its padding
        {75 + 268, 0xFF}, // the next row up, white
        {75 + 82 * 268, 0x00},
        {75 + 82 * 268 + 1, 0xF8}, // the top row last
    };
    for (const auto& [at, value] : imgBytes)
        EXPECT_EQ(img[at], value) << at;
}

// The palette's colours are the calculators' own, as their documented channel values (5 bits
// red and blue, 6 green) give them, and 0 is no colour.
TEST(Ti84CeFile, ThePaletteIsTheCalculatorsColours) {
    struct Row {
        int index;
        const char* name;
        int red, green, blue;
    };
    const Row rows[] = {
        {1, "blue", 0, 0, 31},           {2, "red", 31, 0, 0},      {3, "black", 0, 0, 0},
        {4, "magenta", 31, 0, 31},       {5, "green", 0, 39, 0},    {6, "orange", 31, 35, 4},
        {7, "brown", 22, 8, 0},          {8, "navy", 0, 0, 16},     {9, "light blue", 0, 36, 31},
        {10, "yellow", 31, 63, 0},       {11, "white", 31, 63, 31}, {12, "light grey", 28, 56, 28},
        {13, "medium grey", 24, 48, 24}, {14, "grey", 17, 34, 17},  {15, "dark grey", 10, 21, 10},
    };
    auto eight = [](int v, int max) { return (v * 255 * 2 + max) / (2 * max); };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(kCePalette[size_t(row.index)].name, row.name);
        EXPECT_EQ(kCePalette[size_t(row.index)].rgb565, row.red << 11 | row.green << 5 | row.blue);
        EXPECT_EQ(paletteRgb(row.index),
                  Rgb(eight(row.red, 31) << 16 | eight(row.green, 63) << 8 | eight(row.blue, 31)));
    }
    EXPECT_EQ(argbOfCell(kPaletteNone, CellKind::Palette) >> 24, 0u);
}

// Every RGB565 value survives the trip to 8-bit channels and back; the corners are the
// colours they name.
TEST(Ti84CeFile, Rgb565RoundTripsThroughEightBitChannels) {
    for (unsigned c = 0; c <= 0xFFFF; ++c) {
        const Rgb rgb = rgbOf565(std::uint16_t(c));
        ASSERT_EQ(rgb565Of(int(rgb >> 16), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)), c) << c;
    }
    const std::pair<std::uint16_t, Rgb> corners[] = {{0x0000, 0x000000},
                                                     {0xFFFF, 0xFFFFFF},
                                                     {0xF800, 0xFF0000},
                                                     {0x07E0, 0x00FF00},
                                                     {0x001F, 0x0000FF}};
    for (const auto& [c, rgb] : corners)
        EXPECT_EQ(rgbOf565(c), rgb) << c;
}

// A damaged or foreign file gives a reason that says what is wrong, never a picture.
TEST(Ti84CeFile, DamagedFilesGiveAClearReason) {
    const Bytes pic = ours(FormatId::Ti84CePicture);
    const Bytes img = ours(FormatId::Ti84CeImage);
    auto cut = [](const Bytes& b, size_t n) { return Bytes(b.begin(), b.begin() + long(n)); };
    auto with = [](Bytes b, size_t at, std::uint8_t v) {
        b[at] = v;
        return b;
    };
    struct Row {
        const char* what;
        FormatId format;
        Bytes bytes;
        ReadFailure kind;
        const char* reason; // a part of it
    };
    const Row rows[] = {
        {"empty", FormatId::Ti84CePicture, {}, ReadFailure::TooShort, "the file is 0 bytes"},
        {"header only", FormatId::Ti84CePicture, cut(pic, 74), ReadFailure::TooShort,
         "the 22021 a .8ci picture takes"},
        {"half the pixels", FormatId::Ti84CeImage, cut(img, 11000), ReadFailure::TooShort,
         "too short for the 22321"},
        {"an image as a picture", FormatId::Ti84CePicture, img, ReadFailure::Invalid,
         "it holds a background image (.8ca), not a picture"},
        {"a picture as an image", FormatId::Ti84CeImage, pic, ReadFailure::Invalid,
         "it holds a picture (.8ci), not a background image"},
        {"a program", FormatId::Ti84CePicture, with(pic, 59, 0x05), ReadFailure::Invalid,
         "its type byte (59) is 05, not 07"},
        {"size word", FormatId::Ti84CePicture, with(pic, 72, 0xF4), ReadFailure::Invalid,
         "its picture size (bytes 72-73) is 22004, not 21945"},
        {"image size word", FormatId::Ti84CeImage, with(img, 73, 0x57), ReadFailure::Invalid,
         "its image size (bytes 72-73) is 22501, not 22245"},
        {"no 81", FormatId::Ti84CeImage, with(img, 74, 0x80), ReadFailure::Invalid,
         "byte 74 is 80, not 81"},
        {"header length", FormatId::Ti84CePicture, with(pic, 55, 12), ReadFailure::Invalid,
         "variable header length (bytes 55-56) is 12"},
        {"PIC number", FormatId::Ti84CePicture, with(pic, 61, 10), ReadFailure::BadPicNumber,
         "number byte (61) is 10, not 0 to 9"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto read = readPicture(view(row.bytes), row.format);
        ASSERT_TRUE(std::holds_alternative<ReadError>(read));
        EXPECT_EQ(std::get<ReadError>(read).kind, row.kind);
        EXPECT_NE(std::get<ReadError>(read).reason.find(row.reason), std::string::npos)
            << std::get<ReadError>(read).reason;
        const auto report = examinePicture(view(row.bytes), row.bytes.size(), row.format);
        EXPECT_TRUE(std::holds_alternative<std::string>(report));
    }
}

// Bytes the reader passes over are named by calcpic info; a file cut before its checksum
// reads, with no stored checksum.
TEST(Ti84CeFile, OddBytesAreNoted) {
    const Bytes pic = ours(FormatId::Ti84CePicture);
    const Bytes img = ours(FormatId::Ti84CeImage);
    auto with = [](Bytes b, size_t at, std::uint8_t v) {
        b[at] = v;
        return b;
    };
    const std::tuple<const char*, FormatId, Bytes, std::string> rows[] = {
        {"version", FormatId::Ti84CePicture, with(pic, 68, 0x00),
         "the version byte (68) is 00, not 0A"},
        {"image version", FormatId::Ti84CeImage, with(img, 68, 0x0A),
         "the version byte (68) is 0A, not 00"},
        {"name", FormatId::Ti84CeImage, with(img, 60, 0x60),
         "the first name byte (60) is 60, not 3C (Image)"},
        {"flag", FormatId::Ti84CePicture, with(pic, 69, 0x01),
         "the flag byte (69) is 01, neither 00 (RAM) nor 80 (archived)"},
        {"owner", FormatId::Ti84CePicture, with(pic, 10, 0x03), "the owner byte (10) is 03"},
        {"signature", FormatId::Ti84CeImage, with(img, 5, '2'),
         "its signature is \"**TI82F*\", not \"**TI83F*\""},
    };
    for (const auto& [what, format, bytes, note] : rows) {
        SCOPED_TRACE(what);
        const auto report = examinePicture(view(bytes), bytes.size(), format);
        ASSERT_TRUE(std::holds_alternative<FileReport>(report));
        const auto& notes = std::get<FileReport>(report).notes;
        ASSERT_EQ(notes.size(), 1u) << (notes.empty() ? "" : notes[0]);
        EXPECT_NE(notes[0].find(note), std::string::npos) << notes[0];
    }
    const Bytes cut(pic.begin(), pic.end() - 2);
    const auto report = examinePicture(view(cut), cut.size(), FormatId::Ti84CePicture);
    ASSERT_TRUE(std::holds_alternative<FileReport>(report));
    EXPECT_FALSE(std::get<FileReport>(report).storedChecksum);
}

// Files that share the .8xi's signature are told apart by their type and version bytes; dotwell
// lists and opens the colour formats, pixvane does not.
TEST(Ti84CeFile, ContentTellsTheColourFilesApartAndDotwellOpensThem) {
    CalculatorPicture mono = newPicture(FormatId::Ti83Plus);
    const Bytes plus = std::get<Bytes>(writePicture(mono, FormatId::Ti83Plus));
    const std::pair<Bytes, FormatId> rows[] = {
        {ours(FormatId::Ti84CePicture), FormatId::Ti84CePicture},
        {ours(FormatId::Ti84CeImage), FormatId::Ti84CeImage},
        {plus, FormatId::Ti83Plus},
    };
    for (const auto& [bytes, format] : rows)
        EXPECT_EQ(formatForContent(view(bytes)), &formatOf(format)) << int(format);
    for (const char* name : {"a.8ci", "B.8CA"}) {
        const FormatDescriptor* f = formatForName(name);
        ASSERT_NE(f, nullptr) << name;
        EXPECT_TRUE(editorOpens(*f, Program::Dotwell)) << name;
        EXPECT_FALSE(editorOpens(*f, Program::Pixvane)) << name;
    }
    EXPECT_TRUE(editorOpens(formatOf(FormatId::Ti83Plus), Program::Dotwell));
    const auto dotwell =
        extensions([](const FormatDescriptor& f) { return editorOpens(f, Program::Dotwell); });
    EXPECT_EQ(std::count(dotwell.begin(), dotwell.end(), "8ci"), 1);
    EXPECT_EQ(std::count(dotwell.begin(), dotwell.end(), "8ca"), 1);
    const auto models = core::models(Program::Pixvane);
    EXPECT_EQ(std::count(models.begin(), models.end(), "TI-84 Plus CE"), 0);
    const auto all = core::models();
    EXPECT_EQ(std::count(all.begin(), all.end(), "TI-84 Plus CE"), 1);
}
