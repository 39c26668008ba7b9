// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "pixvane/ti92_picture_file.h"

#include <algorithm>
#include <cassert>

#include "core/model/byte_sum.h"
#include "core/model/codepage.h"
#include "core/model/file_names.h"

namespace pixvane {
namespace {

void put(PicFileBuffer& file, size_t& at, std::string_view bytes, size_t width, char pad) {
    const size_t n = std::min(bytes.size(), width);
    for (size_t i = 0; i < width; ++i)
        file[at + i] = static_cast<std::uint8_t>(i < n ? bytes[i] : pad);
    at += width;
}

void put(PicFileBuffer& file, size_t& at, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t b : bytes)
        file[at++] = b;
}

int bigEndian16(std::string_view bytes, size_t at) {
    return (static_cast<std::uint8_t>(bytes[at]) << 8) | static_cast<std::uint8_t>(bytes[at + 1]);
}

std::string field(std::string_view bytes, size_t at, size_t width) {
    return std::string(core::untilNul(bytes.substr(at, width)));
}

} // namespace

std::string_view withoutPadding(std::string_view comment) {
    while (!comment.empty() && comment.back() == ' ')
        comment.remove_suffix(1);
    return comment;
}

std::string_view signatureFor(std::string_view fileName) {
    return core::endsWithNoCase(fileName, "9XI") || core::endsWithNoCase(fileName, "V2I")
               ? kTi92PlusSignature
               : kTi92Signature;
}

PicFileBuffer buildPicFile(const core::PixelGrid& grid, const Ti92Texts& texts,
                           std::string_view signature, std::uint8_t attribute) {
    const bool screen = grid.rows() == kTi92Rows && grid.columns() == kTi92Columns;
    const size_t rowBytes = (size_t(grid.columns()) + 7) / 8;
    const size_t variableSize = 5 + size_t(grid.rows()) * rowBytes; // height, width, rows, DF
    const size_t fileSize = kTi92VariableOffset + 4 + 2 + variableSize + 2;
    PicFileBuffer file(fileSize);
    size_t at = 0;
    auto le16 = [&](unsigned v) { put(file, at, {std::uint8_t(v), std::uint8_t(v >> 8)}); };
    auto le32 = [&](unsigned v) { le16(v & 0xFFFF), le16(v >> 16); };
    auto be16 = [&](unsigned v) { put(file, at, {std::uint8_t(v >> 8), std::uint8_t(v)}); };
    put(file, at, signature, 8, '\0');
    put(file, at, {0x01, 0x00});
    put(file, at, texts.folder, 8, '\0');
    put(file, at, texts.comment, 40, ' ');
    le16(1);                   // one variable
    le32(kTi92VariableOffset); // where its data starts
    put(file, at, texts.variable, 8, '\0');
    put(file, at, {kTi92PictureType, attribute, 0x00, 0x00});
    le32(unsigned(fileSize));
    put(file, at, {0xA5, 0x5A});
    le32(0);                      // the variable data: four zero bytes,
    be16(unsigned(variableSize)); // its size,
    be16(unsigned(grid.rows()));  // the height
    // and the width: the screen's is 239 although each row holds 240 pixels.
    be16(unsigned(screen ? kTi92Columns - 1 : grid.columns()));
    for (int r = 0; r < grid.rows(); ++r) {
        const int whole = grid.columns() / 8;
        for (int j = 0; j < whole; ++j)
            file[at++] = grid.packBits(r, 8 * j);
        if (const int rest = grid.columns() % 8) {
            std::uint8_t last = 0;
            for (int k = 0; k < rest; ++k)
                last |= std::uint8_t((grid.at(r, 8 * whole + k) == 1) << (7 - k));
            file[at++] = last;
        }
    }
    file[at++] = kTi92ClosingByte;
    le16(core::byteSum16(file.begin() + kTi92VariableOffset, file.begin() + at));
    assert(at == fileSize);
    return file;
}

std::variant<Ti92Picture, Ti92ReadError> readPicFile(std::string_view bytes,
                                                     core::PixelGrid& grid) {
    if (bytes.size() < kTi92PixelOffset)
        return Ti92ReadError::TooShort;

    Ti92Picture picture;
    // The variable's size word counts height, width, pixel bytes and the closing DF. The
    // full-screen image (3095) always holds 103 rows of 30 bytes, whatever its height and
    // width fields say; a picture of another size is taken at its own size only when the size
    // word agrees with that size and the file holds all its rows.
    const int sizeWord = bigEndian16(bytes, kTi92SizeOffset);
    const int height = bigEndian16(bytes, kTi92HeightOffset);
    const int width = bigEndian16(bytes, kTi92WidthOffset);
    const size_t rowBytes = (size_t(width) + 7) / 8;
    const bool smallHeld = sizeWord != kTi92FullVariableSize && height >= 1 && width >= 1 &&
                           size_t(sizeWord) == 5 + size_t(height) * rowBytes &&
                           bytes.size() >= kTi92PixelOffset + size_t(height) * rowBytes;
    if (!smallHeld) {
        if (bytes.size() < kTi92FullPictureEnd)
            return Ti92ReadError::TooShort;
        picture.height = kTi92Rows;
        picture.width = kTi92Columns;
    } else {
        picture.height = height;
        picture.width = width;
    }
    const size_t stride = smallHeld ? rowBytes : kTi92RowBytes;

    picture.texts.folder = field(bytes, kTi92FolderOffset, 8);
    picture.texts.comment = field(bytes, kTi92CommentOffset, 40);
    picture.texts.variable = field(bytes, kTi92NameOffset, 8);
    picture.attribute = std::uint8_t(bytes[kTi92AttributeOffset]);

    if (picture.height > grid.rows() || picture.width > grid.columns())
        grid = core::PixelGrid(std::max(picture.height, grid.rows()),
                               std::max(picture.width, grid.columns()));
    // A full-screen picture writes every cell; only another size leaves cells to clear.
    if (smallHeld)
        grid.clear();
    for (int r = 0; r < picture.height; ++r) {
        const char* row = bytes.data() + kTi92PixelOffset + r * stride;
        for (int c0 = 0; c0 < picture.width; c0 += 8)
            grid.setBits(r, c0, static_cast<std::uint8_t>(row[c0 / 8]),
                         std::min(8, picture.width - c0));
    }
    return picture;
}

} // namespace pixvane
