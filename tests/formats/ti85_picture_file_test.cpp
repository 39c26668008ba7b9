// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <string>
#include <vector>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/formats/format_registry.h"
#include "core/formats/ti85_picture_file.h"
#include "tests/support/files.h"
#include "tests/support/tifiles_check.h"

using namespace core;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string_view view(const QByteArray& b) {
    return {b.constData(), size_t(b.size())};
}

// Corners and a slanted line: flipped rows or shifted columns show.
PixelGrid sample(int rows, int columns) {
    PixelGrid g(rows, columns);
    g.set(0, 0, 1);
    g.set(rows - 1, columns - 1, 1);
    g.set(0, columns - 1, 1);
    for (int r = 0; r < rows; ++r)
        g.set(r, (5 * r + 3) % columns, 1);
    return g;
}

// The picture's data as libtifiles holds it: the size word, then the rows.
std::vector<std::uint8_t> rowsOf(const PixelGrid& g, int sizeWord) {
    std::vector<std::uint8_t> d{std::uint8_t(sizeWord), std::uint8_t(sizeWord >> 8)};
    for (int r = 0; r < g.rows(); ++r)
        for (int j = 0; j < g.columns() / 8; ++j)
            d.push_back(g.packBits(r, 8 * j));
    return d;
}

// The same file but for the comment field, which libtifiles fills with text of its own.
QByteArray withoutComment(QByteArray file) {
    return file.replace(11, 42, QByteArray(42, '\0'));
}

} // namespace

// TI-85 and TI-86 pictures written by libtifiles itself, under names of every length: read
// with the right cells and name, and written back as libtifiles writes them.
TEST(Ti85File, PicturesFromTheLinkLibraryReadAndWriteBackTheSame) {
    QTemporaryDir dir;
    const PixelGrid cells = sample(63, 128);
    for (const FormatId format : {FormatId::Ti85, FormatId::Ti86}) {
        for (const std::string name : {"P", "Pic", "Mountain"}) {
            const std::string ext(formatOf(format).extension);
            SCOPED_TRACE(ext + " " + name);
            const QString path = dir.filePath(QString::fromStdString(name + "." + ext));
            ASSERT_EQ(testing_support::writeWithTifiles(
                          path, {"", name, 0x11, 0, "note", rowsOf(cells, 1008)}),
                      QString());
            const QByteArray file = testing_support::readAll(path);
            const auto read = readPicture(view(file), format);
            ASSERT_TRUE(std::holds_alternative<CalculatorPicture>(read));
            CalculatorPicture picture = std::get<CalculatorPicture>(read);
            EXPECT_EQ(picture.grid, cells);
            EXPECT_EQ(picture.variable, std::u32string(name.begin(), name.end()));
            EXPECT_EQ(picture.comment, "note");
            const auto written = writePicture(picture, format);
            ASSERT_TRUE(std::holds_alternative<Bytes>(written));
            const Bytes& bytes = std::get<Bytes>(written);
            const QByteArray ours(reinterpret_cast<const char*>(bytes.data()),
                                  qsizetype(bytes.size()));
            EXPECT_EQ(withoutComment(ours), withoutComment(file));
            const auto report = examinePicture(view(file), std::uint64_t(file.size()), format);
            ASSERT_TRUE(std::holds_alternative<FileReport>(report));
            EXPECT_TRUE(std::get<FileReport>(report).checksumOk());
        }
    }
}

// What we write, libtifiles reads with its checksum right, and writes back the same.
TEST(Ti85File, TheLinkLibraryReadsWhatWeWrite) {
    QTemporaryDir dir;
    for (const FormatId format : {FormatId::Ti85, FormatId::Ti86}) {
        CalculatorPicture picture = newPicture(format);
        picture.grid = sample(63, 128);
        picture.variable = U"Dad";
        picture.comment = "a comment";
        const Bytes bytes = std::get<Bytes>(writePicture(picture, format));
        const QString path =
            dir.filePath(QString("dad.") + QString::fromLatin1(formatOf(format).extension.data()));
        testing_support::writeAll(
            path, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
        const auto view = testing_support::readWithTifiles(path);
        ASSERT_EQ(view.error, 0);
        EXPECT_EQ(view.checksum, view.storedChecksum);
        EXPECT_EQ(view.name, "Dad");
        EXPECT_EQ(view.type, 0x11);
        EXPECT_EQ(withoutComment(view.writeBack),
                  withoutComment(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                            qsizetype(bytes.size()))));
    }
}

TEST(Ti85File, DamagedFilesAndBadNamesAreRefusedWithTheReason) {
    CalculatorPicture picture = newPicture(FormatId::Ti85);
    const Bytes good = std::get<Bytes>(writePicture(picture, FormatId::Ti85));
    const QByteArray g(reinterpret_cast<const char*>(good.data()), qsizetype(good.size()));
    QByteArray type = g, name = g, size = g;
    type[59] = 0x07;
    name[60] = 9; // longer than the header holds
    size[55 + 2 + 7 + 2] = 0x00;
    const std::pair<QByteArray, std::string> rows[] = {
        {g.left(600), "too short"},
        {g.left(40), "too short"},
        {type, "its type byte (59) is 07, not 11"},
        {name, "its name length (byte 60) is 9"},
        {size, "its picture size is"},
    };
    for (const auto& [bytes, reason] : rows) {
        const auto read = readPicture(view(bytes), FormatId::Ti85);
        ASSERT_TRUE(std::holds_alternative<ReadError>(read)) << reason;
        EXPECT_NE(std::get<ReadError>(read).reason.find(reason), std::string::npos)
            << std::get<ReadError>(read).reason;
    }
    for (const auto& [bad, problem] : {std::pair<std::u32string, std::string>{U"", "needs a name"},
                                       {U"1st", "starts with a letter"},
                                       {U"toolongname", "at most 8"},
                                       {U"a_b", "letters and digits"}}) {
        picture.variable = bad;
        EXPECT_NE(std::get<std::string>(writePicture(picture, FormatId::Ti85)).find(problem),
                  std::string::npos);
    }
}
