// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "dotwell/ti83plus_picture_file.h"

#include <algorithm>
#include <cassert>

#include "core/model/byte_sum.h"

namespace dotwell {
namespace {

constexpr std::string_view kSignature = "**TI83F*";
constexpr size_t kVariableHeaderOffset = 55; // its length word; the checksum starts here
constexpr std::uint8_t kPictureType = 0x07;
constexpr std::uint8_t kArchived = 0x80;

unsigned word(std::string_view bytes, size_t at) {
    return std::uint8_t(bytes[at]) | unsigned(std::uint8_t(bytes[at + 1])) << 8;
}

} // namespace

std::variant<Ti83PlusPicture, Ti83PlusError> readTi83PlusFile(std::string_view bytes) {
    if (bytes.size() < kVariableHeaderOffset + 2 + 11)
        return Ti83PlusError::TooShort;
    Ti83PlusPicture picture;
    picture.owner = std::uint8_t(bytes[10]);
    picture.variableHeaderLength = int(word(bytes, kVariableHeaderOffset));
    if (picture.variableHeaderLength != 11 && picture.variableHeaderLength != 13)
        return Ti83PlusError::HeaderLength;
    // Variable header: length word, data length, type, name (8), then version and flag.
    const size_t header = kVariableHeaderOffset + 2;
    if (std::uint8_t(bytes[header + 2]) != kPictureType)
        return Ti83PlusError::Type;
    const size_t pictureAt = header + size_t(picture.variableHeaderLength) + 4;
    if (bytes.size() < pictureAt + PicFileBuffer::kPictureSize + 2)
        return Ti83PlusError::TooShort;
    if (picture.variableHeaderLength == 13)
        picture.archived = std::uint8_t(bytes[header + 12]) == kArchived;
    const int picNumber = std::uint8_t(bytes[header + 4]);
    picture.buffer = PicFileBuffer::fromFields(
        picNumber, bytes.substr(PicFileBuffer::kCommentOffset, PicFileBuffer::kCommentSize),
        bytes.substr(pictureAt, PicFileBuffer::kPictureSize));
    return picture;
}

std::array<std::uint8_t, kTi83PlusFileSize> buildTi83PlusFile(const PicFileBuffer& buffer,
                                                              bool archived) {
    std::array<std::uint8_t, kTi83PlusFileSize> file{};
    size_t at = 0;
    auto put = [&](std::string_view bytes) {
        for (char c : bytes)
            file[at++] = std::uint8_t(c);
    };
    auto le16 = [&](unsigned v) {
        file[at++] = std::uint8_t(v);
        file[at++] = std::uint8_t(v >> 8);
    };
    put(kSignature);
    put(std::string_view("\x1A\x0A\x00", 3));
    put(buffer.commentField());
    le16(2 + 13 + 2 + 2 + PicFileBuffer::kPictureSize); // 775: the data section
    le16(13);                                           // variable header length
    le16(2 + PicFileBuffer::kPictureSize);              // 758: variable data length
    file[at++] = kPictureType;
    file[at++] = 0x60; // name: Pic, then its number
    file[at++] = buffer.picNumber();
    at += 6;
    file[at++] = 0x00; // version
    file[at++] = archived ? kArchived : 0x00;
    le16(2 + PicFileBuffer::kPictureSize);
    le16(PicFileBuffer::kPictureSize);
    put(buffer.pictureBytes());
    le16(core::byteSum16(file.begin() + kVariableHeaderOffset, file.begin() + at));
    assert(at == kTi83PlusFileSize);
    return file;
}

std::variant<OpenedPicture, OpenError> openPictureBytes(std::string_view bytes,
                                                        std::string_view fileName) {
    OpenedPicture opened;
    if (endsWith8XI(fileName)) {
        const auto plus = readTi83PlusFile(bytes);
        if (!std::holds_alternative<Ti83PlusPicture>(plus))
            return OpenError::Invalid8xi;
        opened.buffer = std::get<Ti83PlusPicture>(plus).buffer;
        opened.archived = std::get<Ti83PlusPicture>(plus).archived;
    } else {
        // Padding would invent the PIC number; a file this short holds no picture.
        if (bytes.size() <= PicFileBuffer::kPicNumberOffset)
            return OpenError::TooShort;
        opened.buffer = PicFileBuffer::fromFile(bytes.substr(0, PicFileBuffer::kSize));
    }
    if (opened.buffer.picNumber() > 9)
        return OpenError::BadPicNumber;
    return opened;
}

std::vector<std::uint8_t> savedPictureBytes(PicFileBuffer& buffer, std::string_view fileName,
                                            std::string_view comment, const core::PixelGrid& grid,
                                            bool archived) {
    buffer.complete(fileName, comment, grid);
    if (endsWith8XI(fileName)) {
        const auto plus = buildTi83PlusFile(buffer, archived);
        return {plus.begin(), plus.end()};
    }
    return {buffer.bytes().begin(), buffer.bytes().end()};
}

} // namespace dotwell
