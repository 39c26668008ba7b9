// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/formats/format_registry.h"
#include "core/formats/ti84ce_picture_file.h"
#include "core/imaging/picture_conversion_source.h"
#include "core/imaging/picture_writer.h"
#include "tests/support/files.h"
#include "tests/support/processes.h"
#include "tests/support/tifiles_check.h"

using testing_support::Ran;
using testing_support::readAll;
using testing_support::writeAll;

namespace {

Ran calcpic(const QStringList& arguments, const QString& directory) {
    return testing_support::runWithoutDisplay(QStringLiteral(CALCPIC_PATH), arguments, directory);
}

std::string_view view(const QByteArray& b) {
    return {b.constData(), size_t(b.size())};
}

core::CalculatorPicture readFile(const QString& path, core::FormatId format) {
    const QByteArray bytes = readAll(path);
    auto read = core::readPicture(view(bytes), format);
    EXPECT_TRUE(std::holds_alternative<core::CalculatorPicture>(read)) << path.toStdString();
    if (!std::holds_alternative<core::CalculatorPicture>(read))
        return core::newPicture(format);
    return std::get<core::CalculatorPicture>(read);
}

class ColourCalcpic : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // A picture with every palette index, none included, written by libtifiles; an image
        // of varied colours with the RGB565 corners.
        picture = core::PixelGrid(core::kTi84CePictureRows, core::kTi84CePictureColumns);
        for (int r = 0; r < picture.rows(); ++r)
            for (int c = 0; c < picture.columns(); ++c)
                picture.set(r, c, std::int16_t((r / 11 + c / 18) % 16));
        std::vector<std::uint8_t> data{0xB9, 0x55};
        for (int r = 0; r < picture.rows(); ++r)
            for (int c = 0; c < picture.columns(); c += 2)
                data.push_back(std::uint8_t(picture.at(r, c) << 4 | picture.at(r, c + 1)));
        testing_support::TifilesVariable variable{"", "\x60\x09", 0x07, 0, "tilp", data};
        variable.version = 0x0A;
        ASSERT_EQ(testing_support::writeWithTifiles(path("pic.8ci"), variable), QString());

        image = core::PixelGrid(core::kTi84CeImageRows, core::kTi84CeImageColumns);
        for (int r = 0; r < image.rows(); ++r)
            for (int c = 0; c < image.columns(); ++c)
                image.set(r, c, std::int16_t((r * 797 + c * 131) & 0xFFFF));
        const std::uint16_t corners[] = {0x0000, 0xFFFF, 0xF800, 0x07E0, 0x001F};
        for (int k = 0; k < 5; ++k)
            image.set(0, k, std::int16_t(corners[k]));
        core::CalculatorPicture content = core::newPicture(core::FormatId::Ti84CeImage);
        content.grid = image;
        const auto bytes = std::get<std::vector<std::uint8_t>>(
            core::writePicture(content, core::FormatId::Ti84CeImage));
        writeAll(path("img.8ca"),
                 QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    core::PixelGrid picture{1, 1};
    core::PixelGrid image{1, 1};
};

} // namespace

TEST_F(ColourCalcpic, InfoNamesTheVariablesAndSizes) {
    const Ran run = calcpic({"info", "--json", "pic.8ci", "img.8ca"}, dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const std::tuple<const char*, const char*, int, int, int> rows[] = {
        {"8ci", "Pic0", 0, 266, 165},
        {"8ca", "Image1", 1, 133, 83},
    };
    for (int i = 0; i < 2; ++i) {
        const auto& [format, variable, pic, width, height] = rows[i];
        const QJsonObject o = QJsonDocument::fromJson(lines[i].toUtf8()).object();
        EXPECT_EQ(o["format"].toString(), format);
        EXPECT_EQ(o["variable"].toString(), variable);
        EXPECT_EQ(o["pic"].toInt(), pic);
        EXPECT_EQ(o["width"].toInt(), width);
        EXPECT_EQ(o["height"].toInt(), height);
        EXPECT_EQ(o["checksum"].toString(), "OK");
        EXPECT_EQ(o["calculator"].toString(), "TI-84 Plus CE and TI-83 Premium CE");
    }
    // A file that is not one gives its reason; one named otherwise is still found by content.
    QByteArray damaged = readAll(path("img.8ca"));
    damaged[74] = 0x00;
    writeAll(path("bad.8ca"), damaged);
    writeAll(path("noname"), readAll(path("pic.8ci")));
    const Ran bad = calcpic({"info", "bad.8ca", "noname"}, dir.path());
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.err, "calcpic: bad.8ca: byte 74 is 00, not 81, the mark before an image's "
                       "pixels\n");
    EXPECT_TRUE(bad.out.contains("(.8ci)")) << bad.out.toStdString();

    // Files of the one signature under each other's names say what they are.
    core::CalculatorPicture plus = core::newPicture(core::FormatId::Ti83Plus);
    const auto bytes =
        std::get<std::vector<std::uint8_t>>(core::writePicture(plus, core::FormatId::Ti83Plus));
    writeAll(path("plus.8ci"),
             QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    writeAll(path("pic.8ca"), readAll(path("pic.8ci")));
    const Ran named = calcpic({"info", "plus.8ci", "pic.8ca"}, dir.path());
    EXPECT_EQ(named.code, 1);
    EXPECT_EQ(named.err,
              "calcpic: plus.8ci: the file is 832 bytes, too short for the 22021 a .8ci picture "
              "takes; it may be damaged; by its header it is a .8xi file\n"
              "calcpic: pic.8ca: its type byte (59) is 07, not 1A: it holds a picture (.8ci), "
              "not a background image; by its header it is a .8ci file\n");
}

// To PNG a picture keeps its colours, none transparent; the same format again is the same
// bytes; to the other colour format and back the conversion is a colour conversion.
TEST_F(ColourCalcpic, ColourPicturesConvertInColour) {
    const Ran run =
        calcpic({"convert", "pic.8ci", "img.8ca", "-d", ".", "--to", "png"}, dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QImage pic(path("pic.png"));
    ASSERT_EQ(pic.size(), QSize(266, 165));
    for (int r = 0; r < 165; ++r)
        for (int c = 0; c < 266; ++c) {
            const int index = picture.at(r, c);
            const QRgb p = pic.pixel(c, r);
            if (index == core::kPaletteNone)
                ASSERT_EQ(qAlpha(p), 0) << r << ", " << c;
            else
                ASSERT_EQ(p, 0xFF000000u | core::paletteRgb(index)) << r << ", " << c;
        }
    const QImage img(path("img.png"));
    ASSERT_EQ(img.size(), QSize(133, 83));
    for (int r = 0; r < 83; ++r)
        for (int c = 0; c < 133; ++c)
            ASSERT_EQ(img.pixel(c, r), 0xFF000000u | core::rgbOf565(std::uint16_t(image.at(r, c))))
                << r << ", " << c;

    // The PNG of a palette picture comes back as the same cells, with no dither.
    ASSERT_EQ(
        calcpic({"convert", "pic.png", "-o", "again.8ci", "--dither", "none"}, dir.path()).code, 0);
    EXPECT_EQ(readFile(path("again.8ci"), core::FormatId::Ti84CePicture).grid, picture);
    ASSERT_EQ(
        calcpic({"convert", "img.png", "-o", "again.8ca", "--dither", "none"}, dir.path()).code, 0);
    EXPECT_EQ(readAll(path("again.8ca")), readAll(path("img.8ca")));

    ASSERT_EQ(calcpic({"convert", "pic.8ci", "-o", "same.8ci"}, dir.path()).code, 0);
    EXPECT_EQ(readAll(path("same.8ci")), readAll(path("pic.8ci")));

    // Onto the other screen, as the conversion makes it of the picture's image.
    ASSERT_EQ(calcpic({"convert", "pic.8ci", "-o", "pic.8ca", "--dither", "none"}, dir.path()).code,
              0);
    const core::PixelGrid expected = core::convertColourCells(
        core::ConversionSource(core::gridImage(picture, core::CellKind::Palette), QSize(133, 83))
            .colourCells(core::ScaleMode::Fit),
        core::CellKind::Rgb565, {128, core::Dither::None, false});
    const core::CalculatorPicture converted =
        readFile(path("pic.8ca"), core::FormatId::Ti84CeImage);
    EXPECT_EQ(converted.grid, expected);
    EXPECT_EQ(converted.comment, "tilp");
}

// A monochrome picture becomes a colour one cell for cell at the top left, black and white
// (white none with --transparent), or converted to fit when it is larger; a colour one
// becomes monochrome through the grey conversion with the same options.
TEST_F(ColourCalcpic, MonochromeAndColourCrossBothWays) {
    core::CalculatorPicture mono = core::newPicture(core::FormatId::Ti83Plus);
    mono.grid.set(0, 0, 1);
    mono.grid.set(62, 95, 1);
    mono.grid.set(10, 20, 1);
    mono.comment = "mono";
    const auto bytes =
        std::get<std::vector<std::uint8_t>>(core::writePicture(mono, core::FormatId::Ti83Plus));
    writeAll(path("mono.8xi"),
             QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    struct Row {
        const char* output;
        QStringList options;
        core::FormatId format;
        std::int16_t dark, clear;
    };
    const Row rows[] = {
        {"m.8ci", {}, core::FormatId::Ti84CePicture, core::kPaletteBlack, core::kPaletteWhite},
        {"t.8ci",
         {"--transparent"},
         core::FormatId::Ti84CePicture,
         core::kPaletteBlack,
         core::kPaletteNone},
        {"m.8ca", {}, core::FormatId::Ti84CeImage, 0x0000, std::int16_t(0xFFFF)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.output);
        const Ran run =
            calcpic(QStringList{"convert", "mono.8xi", "-o", row.output} + row.options, dir.path());
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        const core::CalculatorPicture out = readFile(path(row.output), row.format);
        EXPECT_EQ(out.comment, "mono");
        for (int r = 0; r < out.grid.rows(); ++r)
            for (int c = 0; c < out.grid.columns(); ++c)
                ASSERT_EQ(out.grid.at(r, c), mono.grid.contains(r, c) && mono.grid.at(r, c) == 1
                                                 ? row.dark
                                                 : row.clear)
                    << r << ", " << c;
        const auto seen = testing_support::readWithTifiles(path(row.output), false);
        EXPECT_EQ(seen.error, 0);
        EXPECT_EQ(seen.checksum, seen.storedChecksum);
    }

    // A picture larger than the image's screen is converted to fit, not cut.
    core::CalculatorPicture wide = core::newPicture(core::FormatId::Ti92);
    for (int c = 0; c < wide.grid.columns(); ++c)
        wide.grid.set(wide.grid.rows() - 1, c, 1); // the bottom row, beyond 83
    const auto wideBytes =
        std::get<std::vector<std::uint8_t>>(core::writePicture(wide, core::FormatId::Ti92));
    writeAll(path("wide.92i"), QByteArray(reinterpret_cast<const char*>(wideBytes.data()),
                                          qsizetype(wideBytes.size())));
    ASSERT_EQ(
        calcpic({"convert", "wide.92i", "-o", "wide.8ca", "--dither", "none"}, dir.path()).code, 0);
    const core::PixelGrid fitted =
        core::convertColourCells(core::ConversionSource(core::gridImage(wide.grid), QSize(133, 83))
                                     .colourCells(core::ScaleMode::Fit),
                                 core::CellKind::Rgb565, {128, core::Dither::None, false});
    const core::PixelGrid wideCells = readFile(path("wide.8ca"), core::FormatId::Ti84CeImage).grid;
    EXPECT_EQ(wideCells, fitted);
    int dark = 0;
    for (int c = 0; c < 133; ++c)
        for (int r = 0; r < 83; ++r)
            dark += wideCells.at(r, c) != std::int16_t(0xFFFF);
    EXPECT_GT(dark, 100); // the bottom row is there

    const Ran run = calcpic(
        {"convert", "pic.8ci", "-o", "grey.8xi", "--dither", "atkinson", "--threshold", "90"},
        dir.path());
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const core::PixelGrid expected =
        core::convertPicture(core::gridImage(picture, core::CellKind::Palette), QSize(96, 63),
                             core::ScaleMode::Fit, {90, core::Dither::Atkinson, false});
    EXPECT_EQ(readFile(path("grey.8xi"), core::FormatId::Ti83Plus).grid, expected);
}

// Options that do not fit the target are refused before anything is read.
TEST_F(ColourCalcpic, TransparentIsForPalettePicturesOnly) {
    const std::pair<QStringList, const char*> rows[] = {
        {{"convert", "pic.8ci", "-o", "x.8xi", "--transparent"},
         "--transparent is for 8ci, not 8xi"},
        {{"convert", "pic.8ci", "-o", "x.8ca", "--transparent"},
         "--transparent is for 8ci, not 8ca"},
        {{"convert", "pic.8ci", "-o", "x.png", "--transparent"},
         "--transparent is for 8ci, not png"},
    };
    for (const auto& [arguments, message] : rows) {
        const Ran run = calcpic(arguments, dir.path());
        EXPECT_EQ(run.code, 2);
        EXPECT_TRUE(run.err.contains(message)) << run.err.toStdString();
    }
}

// The thumbnail shows a colour picture in its colours.
TEST_F(ColourCalcpic, ThumbnailsAreInColour) {
    ASSERT_EQ(calcpic({"thumbnail", "-s", "266", "pic.8ci", "pic-thumb.png"}, dir.path()).code, 0);
    const QImage thumb(path("pic-thumb.png"));
    ASSERT_EQ(thumb.size(), QSize(266, 165));
    for (const auto& [r, c] : {std::pair{0, 0}, std::pair{100, 200}, std::pair{164, 265}}) {
        const int index = picture.at(r, c);
        EXPECT_EQ(thumb.pixel(c, r), index == 0 ? 0u : 0xFF000000u | core::paletteRgb(index));
    }
    ASSERT_EQ(calcpic({"thumbnail", "-s", "266", "img.8ca", "img-thumb.png"}, dir.path()).code, 0);
    const QImage big(path("img-thumb.png"));
    ASSERT_EQ(big.size(), QSize(266, 166));
    EXPECT_EQ(big.pixel(5, 1), 0xFF000000u | core::rgbOf565(0xF800)); // cell (0, 2) doubled
}
