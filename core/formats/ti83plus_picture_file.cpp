// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/formats/ti83plus_picture_file.h"

#include <algorithm>
#include <cassert>

#include "core/formats/byte_sum.h"
#include "core/formats/format_units.h"
#include "core/model/codepage.h"

namespace core {
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
    le16(byteSum16(file.begin() + kVariableHeaderOffset, file.begin() + at));
    assert(at == kTi83PlusFileSize);
    return file;
}

namespace {

// What is wrong with a .8xi that cannot be read, for calcpic; the editors say only "Invalid
// File Format!", which the reason starts with.
std::string invalidReason(std::string_view bytes, Ti83PlusError error) {
    const std::string message = "Invalid File Format!";
    if (bytes.empty())
        return message;
    auto at = [&](size_t i) { return unsigned(std::uint8_t(bytes[i])); };
    switch (error) {
    case Ti83PlusError::TooShort: {
        if (bytes.size() < 59)
            return message + " The file is " + std::to_string(bytes.size()) +
                   (bytes.size() == 1 ? " byte" : " bytes") +
                   ", too short for even the header of a .8xi file.";
        const size_t full = at(55) == 11 ? kTi83PlusFileSize - 2 : kTi83PlusFileSize;
        return message + " The file is " + std::to_string(bytes.size()) +
               " bytes; a .8xi picture takes " + std::to_string(full) + ".";
    }
    case Ti83PlusError::HeaderLength:
        return message + " Its variable header length (bytes 55-56) is " +
               std::to_string(at(55) | at(56) << 8) + ", not 11 or 13.";
    case Ti83PlusError::Type:
        return message + " Its type byte (59) is " + hexText(at(59)) +
               ", not 07: it holds no picture.";
    }
    return message;
}

std::variant<CalculatorPicture, ReadError> readTi83Plus(std::string_view bytes, FormatId format) {
    const auto plus = readTi83PlusFile(bytes);
    if (const auto* error = std::get_if<Ti83PlusError>(&plus))
        return ReadError{ReadFailure::Invalid, invalidReason(bytes, *error)};
    CalculatorPicture picture = newPicture(format);
    picture.buffer = std::get<Ti83PlusPicture>(plus).buffer;
    picture.archived = std::get<Ti83PlusPicture>(plus).archived;
    if (picture.buffer.picNumber() > 9)
        return ReadError{ReadFailure::BadPicNumber,
                         "not a TI-82/83 picture: its PIC number byte is " +
                             std::to_string(picture.buffer.picNumber()) + ", not 0 to 9"};
    picture.buffer.decodePicture(picture.grid);
    picture.comment = std::string(untilNul(picture.buffer.commentField()));
    return picture;
}

std::variant<std::vector<std::uint8_t>, std::string> writeTi83Plus(CalculatorPicture& picture,
                                                                   FormatId format) {
    picture.buffer.complete(formatOf(format).extension, picture.comment, picture.grid);
    const auto file = buildTi83PlusFile(picture.buffer, picture.archived);
    return std::vector<std::uint8_t>(file.begin(), file.end());
}

} // namespace

void addTi83PlusFormats(std::vector<FormatDescriptor>& formats) {
    FormatDescriptor f{};
    f.id = FormatId::Ti83Plus;
    f.extension = "8xi";
    f.signature = kSignature;
    f.calculators = "TI-83 Plus and TI-84 Plus";
    f.program = Program::Dotwell;
    f.family = Family::Ti83;
    f.picture = {96, 63};
    f.screen = {96, 64};
    f.graph = {95, 63};
    f.largest = {96, 63};
    f.picNumbers = 10;
    f.mimeType = "application/x-ti83plus-picture";
    f.openEntry = {3, "TI-83 Plus/84 Plus Images|*.8xi"};
    f.saveEntry = {4, "TI-83 Plus/84 Plus Image Files (*.8xi)|*.8xi"};
    f.read = readTi83Plus;
    f.write = writeTi83Plus;
    f.examine = examineTi83Family;
    formats.push_back(f);
}

} // namespace core
