// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <string>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/formats/ti83plus_picture_file.h"
#include "tests/support/files.h"
#include "tests/support/tifiles_check.h"

using core::PicFileBuffer;
using testing_support::bytesOf;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Cell (0, 0) and cell (62, 95) dark, comment "hi", Pic3, in RAM: the .8xi laid out byte by
// byte from the format's table.
Bytes fixture(std::uint8_t flag = 0x00) {
    Bytes b(832, 0);
    const std::string signature = "**TI83F*";
    std::copy(signature.begin(), signature.end(), b.begin());
    b[8] = 0x1A, b[9] = 0x0A, b[10] = 0x00;
    b[11] = 'h', b[12] = 'i';   // then its NUL and zeros
    b[53] = 0x07, b[54] = 0x03; // 775
    b[55] = 0x0D, b[56] = 0x00; // 13
    b[57] = 0xF6, b[58] = 0x02; // 758
    b[59] = 0x07;
    b[60] = 0x60, b[61] = 0x02; // Pic3
    b[68] = 0x00, b[69] = flag;
    b[70] = 0xF6, b[71] = 0x02;
    b[72] = 0xF4, b[73] = 0x02; // 756
    b[74] = 0x80;               // cell (0, 0)
    b[74 + 755] = 0x01;         // cell (62, 95)
    unsigned sum = 0;
    for (size_t i = 55; i < 830; ++i)
        sum += b[i];
    b[830] = std::uint8_t(sum & 0xFF), b[831] = std::uint8_t(sum >> 8 & 0xFF);
    return b;
}

PicFileBuffer completed(int pic, const char* comment, const core::PixelGrid& grid) {
    PicFileBuffer buffer;
    buffer.applyTemplate(pic);
    buffer.complete("x.8xi", comment, grid);
    return buffer;
}

core::PixelGrid corners() {
    core::PixelGrid grid(63, 96);
    grid.set(0, 0, 1);
    grid.set(62, 95, 1);
    return grid;
}

std::string_view view(const Bytes& b) {
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}

} // namespace

TEST(Ti83PlusFile, WritesTheLayoutByteForByte) {
    EXPECT_EQ(bytesOf(core::buildTi83PlusFile(completed(2, "hi", corners()), false)), fixture());
    EXPECT_EQ(bytesOf(core::buildTi83PlusFile(completed(2, "hi", corners()), true)),
              fixture(0x80));
}

TEST(Ti83PlusFile, ReadsBothHeaderLengthsAndAnyOwnerByte) {
    Bytes file = fixture(0x80);
    file[10] = 0x42; // an owner id some link programs write
    const auto read = core::readTi83PlusFile(view(file));
    ASSERT_TRUE(std::holds_alternative<core::Ti83PlusPicture>(read));
    const auto& picture = std::get<core::Ti83PlusPicture>(read);
    EXPECT_EQ(picture.owner, 0x42);
    EXPECT_TRUE(picture.archived);
    EXPECT_EQ(picture.variableHeaderLength, 13);
    EXPECT_EQ(picture.buffer.picNumber(), 2);
    core::PixelGrid grid(63, 96);
    picture.buffer.decodePicture(grid);
    EXPECT_EQ(grid, corners());
    EXPECT_EQ(picture.buffer.commentField().substr(0, 3), std::string_view("hi\0", 3));

    // The 11-byte header: no version or flag, everything after two bytes lower, 830 bytes.
    Bytes older(file.begin(), file.begin() + 55);
    older.push_back(0x0B), older.push_back(0x00);
    older.insert(older.end(), file.begin() + 57, file.begin() + 68);
    older.insert(older.end(), file.begin() + 70, file.end());
    ASSERT_EQ(older.size(), 830u);
    const auto readOlder = core::readTi83PlusFile(view(older));
    ASSERT_TRUE(std::holds_alternative<core::Ti83PlusPicture>(readOlder));
    const auto& old = std::get<core::Ti83PlusPicture>(readOlder);
    EXPECT_EQ(old.variableHeaderLength, 11);
    EXPECT_FALSE(old.archived);
    core::PixelGrid oldGrid(63, 96);
    old.buffer.decodePicture(oldGrid);
    EXPECT_EQ(oldGrid, corners());
    // Written again, it takes the 13-byte form.
    EXPECT_EQ(core::buildTi83PlusFile(old.buffer, false)[55], 13);
}

TEST(Ti83PlusFile, DamagedFilesAreRefused) {
    const Bytes good = fixture();
    for (size_t cut : {size_t(0), size_t(56), size_t(67), size_t(500), size_t(831)})
        EXPECT_EQ(std::get<core::Ti83PlusError>(
                      core::readTi83PlusFile(view(Bytes(good.begin(), good.begin() + cut)))),
                  core::Ti83PlusError::TooShort)
            << cut;
    Bytes header = good;
    header[55] = 12;
    EXPECT_EQ(std::get<core::Ti83PlusError>(core::readTi83PlusFile(view(header))),
              core::Ti83PlusError::HeaderLength);
    Bytes type = good;
    type[59] = 0x08;
    EXPECT_EQ(std::get<core::Ti83PlusError>(core::readTi83PlusFile(view(type))),
              core::Ti83PlusError::Type);
}

TEST(Ti83PlusFile, RoundTripFrom83iKeepsPictureCommentAndPic) {
    core::PixelGrid grid(63, 96);
    for (int i = 0; i < 63; ++i)
        grid.set(i, (i * 5) % 96, 1);
    PicFileBuffer ti83;
    ti83.applyTemplate(9);
    ti83.complete("a.83i", "round trip", grid);
    const auto plus = core::buildTi83PlusFile(ti83, false);
    const auto read = core::readTi83PlusFile(
        std::string_view(reinterpret_cast<const char*>(plus.data()), plus.size()));
    ASSERT_TRUE(std::holds_alternative<core::Ti83PlusPicture>(read));
    PicFileBuffer back = std::get<core::Ti83PlusPicture>(read).buffer;
    core::PixelGrid decoded(63, 96);
    back.decodePicture(decoded);
    back.complete("a.83i", "round trip", decoded);
    EXPECT_EQ(bytesOf(back.bytes()), bytesOf(ti83.bytes()));
}

TEST(Ti83PlusFile, LinkLibraryReadsWhatWeWrite) {
    QTemporaryDir dir;
    core::PixelGrid grid(63, 96);
    for (int i = 0; i < 63; ++i)
        grid.set(i, i + 20, 1);
    for (bool archived : {false, true}) {
        const auto file = core::buildTi83PlusFile(completed(9, "made here", grid), archived);
        const QString path = dir.filePath(archived ? "archived.8xi" : "drawing.8xi");
        testing_support::writeAll(
            path, QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size())));
        const testing_support::TifilesView view = testing_support::readWithTifiles(path);
        ASSERT_EQ(view.error, 0);
        EXPECT_EQ(view.model, "TI83+");
        EXPECT_EQ(view.checksum, view.storedChecksum);
        EXPECT_EQ(view.storedChecksum, file[830] | file[831] << 8);
        EXPECT_EQ(view.type, 7);
        EXPECT_EQ(std::uint8_t(view.rawName[0]), 0x60);
        EXPECT_EQ(std::uint8_t(view.rawName[1]), 9);
        EXPECT_EQ(view.comment, "made here");
        EXPECT_EQ(view.writeBack,
                  QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size())))
            << (archived ? "archived" : "in RAM");
    }
}
