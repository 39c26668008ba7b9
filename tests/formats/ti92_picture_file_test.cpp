// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <algorithm>
#include <string>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/formats/format_registry.h"
#include "core/formats/ti92_picture_file.h"
#include "tests/support/files.h"
#include "tests/support/grid_pictures.h"
#include "tests/support/tifiles_check.h"

using namespace core;
using testing_support::bytesOf;

namespace {

using Bytes = std::vector<std::uint8_t>;

const Ti92Texts kDefaults{"main", "picture", "made with PIXVANE"};

core::PixelGrid emptyGrid() {
    return core::PixelGrid(103, 240);
}

// The all-clear file with the default texts, laid out from the format's description.
Bytes blankFixture() {
    Bytes b;
    auto add = [&](std::string_view s) { b.insert(b.end(), s.begin(), s.end()); };
    auto pad = [&](size_t to, std::uint8_t with) { b.resize(to, with); };
    add("**TI92**");
    b.push_back(0x01), b.push_back(0x00);
    add("main"), pad(18, 0);
    add("made with PIXVANE"), pad(58, ' ');
    for (int v : {0x01, 0x00, 0x52, 0x00, 0x00, 0x00})
        b.push_back(std::uint8_t(v));
    add("picture"), pad(72, 0);
    for (int v : {0x10, 0, 0, 0, 0x71, 0x0C, 0,    0,    0xA5, 0x5A,
                  0,    0, 0, 0, 0x0C, 0x17, 0x00, 0x67, 0x00, 0xEF})
        b.push_back(std::uint8_t(v));
    pad(3182, 0);
    b.push_back(0xDF);
    b.push_back(0x58), b.push_back(0x02); // 0x0C + 0x17 + 0x67 + 0xEF + 0xDF
    return b;
}

std::string_view view(const Bytes& b) {
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}

} // namespace

TEST(Ti92File, AllClearPictureWithTheDefaultTexts) {
    EXPECT_EQ(bytesOf(buildTi92File(emptyGrid(), kDefaults)), blankFixture());
}

TEST(Ti92File, CornerCells) {
    core::PixelGrid grid = emptyGrid();
    grid.set(0, 0, 1);
    grid.set(102, 239, 1);
    Bytes expected = blankFixture();
    expected[92] = 0x80;
    expected[3181] = 0x01;
    expected[3183] = 0x58 + 0x81;
    EXPECT_EQ(bytesOf(buildTi92File(grid, kDefaults)), expected);
}

TEST(Ti92File, TextFieldPadding) {
    const Ti92FileBytes full = buildTi92File(emptyGrid(), {"ABCDEFGH", "p", std::string(40, 'c')});
    EXPECT_EQ(std::string(full.begin() + 10, full.begin() + 18), "ABCDEFGH");
    EXPECT_EQ(full[18], 'c'); // no NUL between an 8-character folder and the comment
    EXPECT_EQ(std::string(full.begin() + 18, full.begin() + 58), std::string(40, 'c'));
    EXPECT_EQ(std::string(full.begin() + 64, full.begin() + 72), std::string("p\0\0\0\0\0\0\0", 8));

    const Ti92FileBytes empty = buildTi92File(emptyGrid(), {"f", "v", ""});
    EXPECT_EQ(std::string(empty.begin() + 10, empty.begin() + 18),
              std::string("f\0\0\0\0\0\0\0", 8));
    EXPECT_EQ(std::string(empty.begin() + 18, empty.begin() + 58), std::string(40, ' '));
}

TEST(Ti92File, ReadsBackWhatItWrites) {
    core::PixelGrid grid = emptyGrid();
    for (int c = 0; c < 240; c += 7)
        grid.set(c % 103, c, 1);
    const Bytes file = bytesOf(buildTi92File(grid, {"\x80\x81", "pic", "note"}));
    core::PixelGrid decoded = emptyGrid();
    const auto result = readTi92File(view(file), decoded);
    ASSERT_TRUE(std::holds_alternative<Ti92Picture>(result));
    const Ti92Picture& picture = std::get<Ti92Picture>(result);
    EXPECT_EQ(decoded, grid);
    EXPECT_EQ(picture.texts.folder, "\x80\x81");
    EXPECT_EQ(picture.texts.variable, "pic");
    EXPECT_EQ(picture.texts.comment, std::string("note") + std::string(36, ' '));
    // Only the padding goes: the comment's own blanks and control characters stay.
    EXPECT_EQ(withoutPadding(picture.texts.comment), "note");
    EXPECT_EQ(withoutPadding("  two leading blanks\t\r\n   "), "  two leading blanks\t\r\n");
}

TEST(Ti92File, WidthFieldAndSignatureDoNotMatter) {
    core::PixelGrid grid = emptyGrid();
    grid.set(50, 239, 1);
    grid.set(3, 0, 1);
    Bytes file = bytesOf(buildTi92File(grid, kDefaults));
    file[91] = 240;
    file[2] = 'X';
    file[3183] ^= 0xFF; // a wrong checksum is not looked at either
    core::PixelGrid decoded = emptyGrid();
    ASSERT_TRUE(std::holds_alternative<Ti92Picture>(readTi92File(view(file), decoded)));
    EXPECT_EQ(decoded, grid);
}

TEST(Ti92File, SmallerPictureIsPlacedTopLeft) {
    // StoPic of 50 rows x 100 columns: rows of 13 bytes, an L shape and a mark at (49, 99).
    Bytes file = blankFixture();
    file[86] = 0x02, file[87] = 0x8F; // size word 655: height, width, 50 x 13 bytes, DF
    file[88] = 0, file[89] = 50, file[90] = 0, file[91] = 100;
    file.resize(92 + 50 * 13);
    std::fill(file.begin() + 92, file.end(), 0);
    for (int r = 0; r < 50; ++r)
        file[92 + r * 13] |= 0x80; // column 0
    for (int j = 0; j < 12; ++j)
        file[92 + 49 * 13 + j] = 0xFF; // row 49, columns 0..95
    file[92 + 49 * 13 + 12] = 0xF0;    // columns 96..99
    file.push_back(0xDF);
    core::PixelGrid decoded = emptyGrid();
    decoded.set(80, 200, 1); // the rest comes out clear
    const auto result = readTi92File(view(file), decoded);
    ASSERT_TRUE(std::holds_alternative<Ti92Picture>(result));
    EXPECT_EQ(std::get<Ti92Picture>(result).width, 100);
    EXPECT_EQ(testing_support::gridPicture(decoded, 47, 0, 4, 3), "#..\n#..\n###\n...\n");
    EXPECT_EQ(decoded.at(49, 99), 1);
    EXPECT_EQ(decoded.at(49, 100), 0);
    EXPECT_EQ(decoded.at(80, 200), 0);
    int dark = 0;
    for (int r = 0; r < 103; ++r)
        for (int c = 0; c < 240; ++c)
            dark += decoded.at(r, c);
    EXPECT_EQ(dark, 50 + 99);
}

TEST(Ti92File, AFullSizeFileIgnoresItsHeightAndWidthFields) {
    // 3185 bytes with the size word 3095 hold the whole screen, whatever the fields say.
    core::PixelGrid grid = emptyGrid();
    for (int r = 0; r < 103; ++r)
        grid.set(r, (r * 7) % 240, 1);
    const Bytes written = bytesOf(buildTi92File(grid, kDefaults));
    for (auto [height, width] : {std::pair{50, 100}, {1, 1}, {103, 8}, {0, 0}, {200, 300}}) {
        Bytes file = written;
        file[88] = std::uint8_t(height >> 8), file[89] = std::uint8_t(height);
        file[90] = std::uint8_t(width >> 8), file[91] = std::uint8_t(width);
        core::PixelGrid decoded = emptyGrid();
        const auto result = readTi92File(view(file), decoded);
        ASSERT_TRUE(std::holds_alternative<Ti92Picture>(result)) << height << " x " << width;
        EXPECT_EQ(std::get<Ti92Picture>(result).height, 103);
        EXPECT_EQ(decoded, grid) << height << " x " << width;
    }
}

TEST(Ti92File, TruncatedFilesAreErrorsAndChangeNothing) {
    const Bytes full = blankFixture();
    core::PixelGrid grid = emptyGrid();
    grid.set(1, 1, 1);
    const core::PixelGrid before = grid;
    for (size_t size :
         {size_t(0), size_t(50), size_t(91), size_t(92), size_t(3000), size_t(3181)}) {
        const Bytes cut(full.begin(), full.begin() + size);
        EXPECT_TRUE(std::holds_alternative<Ti92ReadError>(readTi92File(view(cut), grid))) << size;
        EXPECT_EQ(grid, before);
    }
    // A small picture that claims more rows than the file holds.
    Bytes claim(full.begin(), full.begin() + 92 + 10);
    claim[89] = 50, claim[91] = 100;
    EXPECT_TRUE(std::holds_alternative<Ti92ReadError>(readTi92File(view(claim), grid)));
    // Exactly the pixel rows, without DF and checksum, is enough.
    const Bytes pixelsOnly(full.begin(), full.begin() + 3182);
    EXPECT_TRUE(std::holds_alternative<Ti92Picture>(readTi92File(view(pixelsOnly), grid)));
}

TEST(Ti92File, LinkLibraryReadsWhatWeWrite) {
    QTemporaryDir dir;
    core::PixelGrid grid = emptyGrid();
    for (int i = 0; i < 103; ++i)
        grid.set(i, 2 * i, 1);
    const Ti92FileBytes file = buildTi92File(grid, {"games", "sprite1", "a test picture"});
    const QString path = dir.filePath("sprite1.92i");
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(reinterpret_cast<const char*>(file.data()), qint64(file.size()));
    out.close();

    const auto view = testing_support::readWithTifiles(path);
    ASSERT_EQ(view.error, 0);
    EXPECT_EQ(view.checksum, view.storedChecksum);
    EXPECT_EQ(view.storedChecksum, file[3183] | file[3184] << 8);
    EXPECT_EQ(view.folder, "games");
    EXPECT_EQ(view.name, "sprite1");
    EXPECT_EQ(view.type, 0x10);
    EXPECT_EQ(view.writeBack, QByteArray(reinterpret_cast<const char*>(file.data()), 3185));
}

namespace {

// A 68k picture variable's data as libtifiles holds it: size, height, width (big-endian),
// the rows, DF.
std::vector<std::uint8_t> pictureData(const core::PixelGrid& cells, int widthField) {
    const size_t rowBytes = (size_t(widthField) + 7) / 8;
    const size_t size = 5 + size_t(cells.rows()) * rowBytes;
    std::vector<std::uint8_t> d{std::uint8_t(size >> 8),         std::uint8_t(size),
                                std::uint8_t(cells.rows() >> 8), std::uint8_t(cells.rows()),
                                std::uint8_t(widthField >> 8),   std::uint8_t(widthField)};
    for (int r = 0; r < cells.rows(); ++r)
        for (size_t j = 0; j < rowBytes; ++j) {
            std::uint8_t byte = 0;
            for (int k = 0; k < 8; ++k) {
                const int c = int(8 * j) + k;
                if (c < cells.columns() && cells.at(r, c) == 1)
                    byte |= std::uint8_t(0x80 >> k);
            }
            d.push_back(byte);
        }
    d.push_back(0xDF);
    return d;
}

// Corners and a slanted line: flipped rows or shifted columns show.
core::PixelGrid sample(int rows, int columns) {
    core::PixelGrid g(rows, columns);
    g.set(0, 0, 1);
    g.set(rows - 1, columns - 1, 1);
    g.set(0, columns - 1, 1);
    for (int r = 0; r < rows; ++r)
        g.set(r, (3 * r) % columns, 1);
    return g;
}

} // namespace

// Pictures of every size a 68k calculator stores, written by libtifiles itself: read whole,
// attribute kept, and written back byte for byte.
TEST(Ti92File, PicturesOfAnySizeFromTheLinkLibraryReadWholeAndWriteBackTheSame) {
    QTemporaryDir dir;
    struct Row {
        int rows, columns, attribute;
    };
    for (const Row row : {Row{128, 240, 0}, Row{120, 200, 3}, Row{20, 50, 1}, Row{103, 240, 3}}) {
        SCOPED_TRACE(std::to_string(row.columns) + " x " + std::to_string(row.rows));
        const core::PixelGrid cells = sample(row.rows, row.columns);
        const bool screen = row.rows == 103 && row.columns == 240;
        const QString path = dir.filePath(QString("p%1x%2.92i").arg(row.columns).arg(row.rows));
        testing_support::TifilesVariable variable{
            "main",        "pic",  0x10,
            row.attribute, "note", pictureData(cells, screen ? 239 : row.columns)};
        ASSERT_EQ(testing_support::writeWithTifiles(path, variable), QString());
        const QByteArray file = testing_support::readAll(path);

        core::PixelGrid grid(103, 240);
        const auto read =
            readTi92File(std::string_view(file.constData(), size_t(file.size())), grid);
        ASSERT_TRUE(std::holds_alternative<Ti92Picture>(read));
        const Ti92Picture& picture = std::get<Ti92Picture>(read);
        EXPECT_EQ(picture.height, row.rows);
        EXPECT_EQ(picture.width, row.columns);
        EXPECT_EQ(picture.attribute, row.attribute);
        EXPECT_EQ(grid.rows(), std::max(row.rows, 103));
        EXPECT_EQ(grid.columns(), std::max(row.columns, 240));
        for (int r = 0; r < grid.rows(); ++r)
            for (int c = 0; c < grid.columns(); ++c)
                ASSERT_EQ(grid.at(r, c), r < row.rows && c < row.columns ? cells.at(r, c) : 0)
                    << r << ", " << c;
        if (grid.rows() == row.rows && grid.columns() == row.columns) {
            const Ti92FileBytes again =
                buildTi92File(grid, picture.texts, kTi92Signature, picture.attribute);
            // The same bytes but for the comment's padding: libtifiles pads with NULs.
            Bytes expected = bytesOf(file);
            std::replace(expected.begin() + 22, expected.begin() + 58, std::uint8_t(0),
                         std::uint8_t(' '));
            EXPECT_EQ(again, expected);
        }
    }
}

// TI-89 pictures of libtifiles' making, the whole graph screen and the whole screen, read at
// their own size; a Voyage 200 picture with the signature some link programs give it reads too.
TEST(Ti89File, PicturesReadAtTheirOwnSizeAndV200SignedFilesRead) {
    QTemporaryDir dir;
    for (const auto& [rows, columns] : {std::pair{77, 159}, std::pair{100, 160}, std::pair{20, 50}}) {
        SCOPED_TRACE(std::to_string(columns) + " x " + std::to_string(rows));
        const core::PixelGrid cells = sample(rows, columns);
        const QString path = dir.filePath(QString("p%1.89i").arg(rows));
        ASSERT_EQ(testing_support::writeWithTifiles(
                      path, {"main", "pic", 0x10, 0, "c", pictureData(cells, columns)}),
                  QString());
        const QByteArray file = testing_support::readAll(path);
        const auto read = readPicture(std::string_view(file.constData(), size_t(file.size())),
                                      FormatId::Ti89);
        ASSERT_TRUE(std::holds_alternative<CalculatorPicture>(read));
        const CalculatorPicture& picture = std::get<CalculatorPicture>(read);
        EXPECT_EQ(picture.pictureRows, rows);
        EXPECT_EQ(picture.pictureColumns, columns);
        // A smaller picture lies at the top left of the TI-89's 159 x 77 graph screen.
        EXPECT_EQ(picture.grid.rows(), std::max(rows, 77));
        EXPECT_EQ(picture.grid.columns(), std::max(columns, 159));
        EXPECT_EQ(picture.grid.resized(rows, columns), cells);
    }
    QByteArray v200 = testing_support::readAll(dir.filePath("p77.89i"));
    v200.replace(0, 8, "**V200**");
    const auto read = readPicture(std::string_view(v200.constData(), size_t(v200.size())),
                                  FormatId::Voyage200);
    ASSERT_TRUE(std::holds_alternative<CalculatorPicture>(read));
    EXPECT_EQ(formatForContent(std::string_view(v200.constData(), 8))->id, FormatId::Voyage200);
    CalculatorPicture again = std::get<CalculatorPicture>(read);
    const auto written = std::get<std::vector<std::uint8_t>>(writePicture(again, FormatId::Voyage200));
    EXPECT_EQ(std::string(written.begin(), written.begin() + 8), "**TI92P*");
}
