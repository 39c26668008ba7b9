// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <string>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/formats/format_registry.h"
#include "core/formats/ti83_picture_file.h"
#include "tests/support/files.h"
#include "tests/support/tifiles_check.h"

using core::PicFileBuffer;
using testing_support::bytesOf;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The file a new, all-clear picture with option 1 and an empty comment must give, laid out
// byte by byte from the format's description rather than by the code under test.
Bytes blankFixture() {
    Bytes b(830, 0);
    const std::string signature = "**TI82**";
    std::copy(signature.begin(), signature.end(), b.begin());
    b[8] = 0x1A, b[9] = 0x0A, b[10] = 0x00;
    b[53] = 0x05, b[54] = 0x03;
    const Bytes header = {0x0B, 0x00, 0xF6, 0x02, 0x07, 0x60, 0x00};
    std::copy(header.begin(), header.end(), b.begin() + 55);
    b[68] = 0xF6, b[69] = 0x02, b[70] = 0xF4, b[71] = 0x02;
    b[828] = 0x58, b[829] = 0x03; // 11+246+2+7+96+246+2+244+2 = 856
    return b;
}

core::PixelGrid emptyGrid() {
    return core::PixelGrid(63, 96);
}

} // namespace

TEST(Ti83File, NewPictureAsTi82WithPic1) {
    PicFileBuffer buffer;
    buffer.complete("pic.82i", "", emptyGrid());
    EXPECT_EQ(bytesOf(buffer.bytes()), blankFixture());
}

TEST(Ti83File, CornerCellsAndChecksum) {
    core::PixelGrid grid = emptyGrid();
    grid.set(0, 0, 1);
    grid.set(62, 95, 1);
    PicFileBuffer buffer;
    buffer.complete("PIC.82I", "", grid);
    Bytes expected = blankFixture();
    expected[72] = 0x80;
    expected[827] = 0x01;
    expected[828] = 0x58 + 0x81, expected[829] = 0x03;
    EXPECT_EQ(bytesOf(buffer.bytes()), expected);

    core::PixelGrid decoded = emptyGrid();
    buffer.decodePicture(decoded);
    EXPECT_EQ(decoded, grid);
}

TEST(Ti83File, Pic0AsTi83) {
    PicFileBuffer buffer;
    buffer.applyTemplate(9);
    buffer.complete("a.83I", "", emptyGrid());
    Bytes expected = blankFixture();
    expected[5] = '3';
    expected[61] = 9;
    expected[828] = 0x58 + 9;
    EXPECT_EQ(bytesOf(buffer.bytes()), expected);
}

TEST(Ti83File, CommentRules) {
    // Comment bytes start out as 0xAA so that every byte a save leaves alone shows.
    Bytes file = blankFixture();
    std::fill(file.begin() + 11, file.begin() + 53, 0xAA);
    const std::string forty(40, 'x');
    PicFileBuffer a = PicFileBuffer::fromFile({reinterpret_cast<char*>(file.data()), file.size()});
    a.complete("p.82i", forty, emptyGrid());
    EXPECT_EQ(a.bytes()[50], 'x');
    EXPECT_EQ(a.bytes()[51], 0x00);
    EXPECT_EQ(a.bytes()[52], 0xAA);

    const std::string fortyFive = "0123456789012345678901234567890123456789ABCDE";
    PicFileBuffer b = PicFileBuffer::fromFile({reinterpret_cast<char*>(file.data()), file.size()});
    b.complete("p.82i", fortyFive, emptyGrid());
    EXPECT_EQ(std::string(b.view().substr(11, 41)), fortyFive.substr(0, 41));
    EXPECT_EQ(b.bytes()[52], 0xAA);

    PicFileBuffer c = PicFileBuffer::fromFile({reinterpret_cast<char*>(file.data()), file.size()});
    c.complete("p.82i", "hi", emptyGrid());
    EXPECT_EQ(std::string(c.view().substr(11, 4)), std::string("hi\0\xAA", 4));
    EXPECT_EQ(c.bytes()[828] | c.bytes()[829] << 8, 0x0358); // the comment is not summed
}

TEST(Ti83File, ShortFileIsPaddedWithSpaces) {
    const std::string hundred(100, '\0');
    const PicFileBuffer buffer = PicFileBuffer::fromFile(hundred);
    for (size_t i = 100; i < 830; ++i)
        ASSERT_EQ(buffer.bytes()[i], 0x20) << i;
    core::PixelGrid grid = emptyGrid();
    buffer.decodePicture(grid);
    // Byte 100 is row 2, byte 4: from there on each byte reads 00100000.
    EXPECT_EQ(grid.at(2, 31), 0);
    EXPECT_EQ(grid.at(2, 34), 1);
    EXPECT_EQ(grid.at(2, 33), 0);
    EXPECT_EQ(grid.at(62, 90), 1);
    EXPECT_EQ(grid.at(1, 2), 0);
}

TEST(Ti83File, LongFileIsCutAndHeaderBytesAreKept) {
    Bytes file = blankFixture();
    file[0] = 'X';   // a foreign signature
    file[63] = 0x42; // a name byte that is not zero
    file.resize(2000, 0x55);
    PicFileBuffer buffer =
        PicFileBuffer::fromFile({reinterpret_cast<char*>(file.data()), file.size()});
    EXPECT_EQ(buffer.bytes().size(), 830u);
    buffer.complete("x.82i", "", emptyGrid());
    EXPECT_EQ(buffer.bytes()[0], 'X');
    EXPECT_EQ(buffer.bytes()[63], 0x42);
    buffer.applyTemplate(3); // choosing a PIC option restores the standard header...
    EXPECT_EQ(buffer.bytes()[0], '*');
    EXPECT_EQ(buffer.bytes()[61], 3);
    EXPECT_EQ(buffer.bytes()[63], 0x42); // ...but never the name bytes
}

TEST(Ti83File, LinkLibraryReadsWhatWeWrite) {
    QTemporaryDir dir;
    core::PixelGrid grid = emptyGrid();
    for (int i = 0; i < 63; ++i)
        grid.set(i, i + 20, 1);
    for (auto [name, pic] : {std::pair{"drawing.82i", 0}, std::pair{"drawing.83i", 9}}) {
        PicFileBuffer buffer;
        buffer.applyTemplate(pic);
        buffer.complete(name, "made here", grid);
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(buffer.bytes().data()), 830);
        file.close();

        const testing_support::TifilesView view = testing_support::readWithTifiles(path);
        ASSERT_EQ(view.error, 0) << name;
        EXPECT_EQ(view.checksum, view.storedChecksum) << name;
        EXPECT_EQ(view.storedChecksum, buffer.checksum()) << name;
        EXPECT_EQ(view.type, 7);
        EXPECT_EQ(std::uint8_t(view.rawName[0]), 0x60);
        EXPECT_EQ(std::uint8_t(view.rawName[1]), pic);
        EXPECT_EQ(view.comment, "made here");
        ASSERT_GE(view.data.size(), 756u);
        const Bytes ours(buffer.bytes().begin() + 72, buffer.bytes().begin() + 828);
        EXPECT_EQ(Bytes(view.data.end() - 756, view.data.end()), ours);
        EXPECT_EQ(view.writeBack,
                  QByteArray(reinterpret_cast<const char*>(buffer.bytes().data()), 830))
            << name;
    }
}

// The TI-73 numbers its pictures from Pic0 (name byte 0): a .73i of libtifiles' making reads
// as the picture it names, and its PIC number goes across to the other calculators' files.
TEST(Ti73File, PicNumbersAreTheTi73sBothWays) {
    QTemporaryDir dir;
    core::PixelGrid cells = emptyGrid();
    cells.set(0, 0, 1);
    cells.set(62, 95, 1);
    for (const int number : {0, 1, 9}) {
        SCOPED_TRACE(number);
        std::vector<std::uint8_t> data{0xF4, 0x02};
        for (int r = 0; r < 63; ++r)
            for (int j = 0; j < 12; ++j)
                data.push_back(cells.packBits(r, 8 * j));
        const QString path = dir.filePath(QString("p%1.73i").arg(number));
        ASSERT_EQ(testing_support::writeWithTifiles(
                      path, {"", std::string{'\x60', char(number)}, 0x07, 0, "c", data}),
                  QString());
        const QByteArray file = testing_support::readAll(path);
        auto read = core::readPicture({file.constData(), size_t(file.size())}, core::FormatId::Ti73);
        ASSERT_TRUE(std::holds_alternative<core::CalculatorPicture>(read));
        core::CalculatorPicture picture = std::get<core::CalculatorPicture>(read);
        EXPECT_EQ(picture.grid, cells);
        EXPECT_EQ(core::variableName(picture), "Pic" + std::to_string(number));
        // Written back as a .73i: libtifiles' bytes but for the comment it fills itself.
        const auto again = std::get<Bytes>(core::writePicture(picture, core::FormatId::Ti73));
        EXPECT_EQ(Bytes(again.begin() + 53, again.end()), Bytes(file.begin() + 53, file.end()));
        EXPECT_EQ(Bytes(again.begin(), again.begin() + 11), Bytes(file.begin(), file.begin() + 11));
        // As a .83i the same picture is the same variable: Pic0 is byte 9 there.
        const auto ti83 = std::get<Bytes>(core::writePicture(picture, core::FormatId::Ti83));
        EXPECT_EQ(ti83[61], (number + 9) % 10);
        EXPECT_EQ(std::string(ti83.begin(), ti83.begin() + 8), "**TI83**");
        const auto view = testing_support::readWithTifiles(path, false);
        EXPECT_EQ(view.checksum, view.storedChecksum);
    }
}
