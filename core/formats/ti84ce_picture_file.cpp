// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/formats/ti84ce_picture_file.h"

#include <algorithm>

#include "core/formats/byte_sum.h"
#include "core/formats/format_units.h"
#include "core/model/codepage.h"
#include "core/model/colour_conversion.h"

namespace core {
namespace {

constexpr size_t kHeaderLengthOffset = 55; // the checksum sums from here
constexpr size_t kTypeOffset = 59;
constexpr size_t kNameOffset = 60;
constexpr std::uint8_t kArchived = 0x80;

// What tells the two apart, everywhere else alike.
struct Layout {
    bool image;
    std::uint8_t type;
    std::uint8_t nameByte; // the first name byte: Pic or Image
    std::uint8_t version;
    unsigned size;         // the size word
    std::string_view what; // "picture", "image"
};

Layout layoutOf(FormatId format) {
    if (format == FormatId::Ti84CeImage)
        return {true, kTi84CeImageType, 0x3C, 0x00, unsigned(kTi84CeImageSize), "image"};
    return {false, kTi84CePictureType, 0x60, 0x0A, unsigned(kTi84CePictureSize), "picture"};
}

// Where the parts of a file with this variable header length are.
struct Places {
    size_t dataAgain; // the variable data length again
    size_t sizeWord;
    size_t pixels; // the first pixel byte: after the 81 of an image
    size_t checksum;
};

Places placesOf(const Layout& layout, unsigned headerLength) {
    Places p{};
    p.dataAgain = kHeaderLengthOffset + 2 + headerLength;
    p.sizeWord = p.dataAgain + 2;
    p.pixels = p.sizeWord + 2 + (layout.image ? 1 : 0);
    p.checksum = p.sizeWord + 2 + layout.size;
    return p;
}

std::string typeProblem(unsigned type, const Layout& layout) {
    std::string text =
        "its type byte (59) is " + hexText(type) + ", not " + hexText(layout.type) + ": ";
    if (type == kTi84CeImageType)
        return text + "it holds a background image (.8ca), not a picture";
    if (type == kTi84CePictureType)
        return text + "it holds a picture (.8ci), not a background image";
    return text + "it holds no " + std::string(layout.what);
}

std::variant<CalculatorPicture, ReadError> readTi84Ce(std::string_view bytes, FormatId format) {
    const Layout layout = layoutOf(format);
    const FileBytes b{bytes};
    const size_t whole = placesOf(layout, 13).checksum + 2;
    auto tooShort = [&] {
        return ReadError{ReadFailure::TooShort,
                         "the file is " + std::to_string(bytes.size()) +
                             " bytes, too short for "
                             "the " +
                             std::to_string(whole) + " a .8" + (layout.image ? "ca" : "ci") + " " +
                             std::string(layout.what) + " takes; it may be damaged"};
    };
    if (bytes.size() < kNameOffset + 2)
        return tooShort();
    const unsigned headerLength = b.le16(kHeaderLengthOffset, 0);
    if (headerLength != 11 && headerLength != 13)
        return ReadError{ReadFailure::Invalid, "its variable header length (bytes 55-56) is " +
                                                   std::to_string(headerLength) + ", not 11 or 13"};
    if (b.at(kTypeOffset, 0) != layout.type)
        return ReadError{ReadFailure::Invalid, typeProblem(b.at(kTypeOffset, 0), layout)};
    const Places at = placesOf(layout, headerLength);
    if (bytes.size() < at.checksum)
        return tooShort();
    if (const unsigned size = b.le16(at.sizeWord, 0); size != layout.size)
        return ReadError{ReadFailure::Invalid, "its " + std::string(layout.what) + " size (bytes " +
                                                   std::to_string(at.sizeWord) + "-" +
                                                   std::to_string(at.sizeWord + 1) + ") is " +
                                                   std::to_string(size) + ", not " +
                                                   std::to_string(layout.size)};
    if (layout.image && b.at(at.pixels - 1, 0) != kTi84CeImageMark)
        return ReadError{ReadFailure::Invalid, "byte " + std::to_string(at.pixels - 1) + " is " +
                                                   hexText(b.at(at.pixels - 1, 0)) +
                                                   ", not 81, the mark before an image's pixels"};
    const int number = b.at(kNameOffset + 1, 0);
    if (number > 9)
        return ReadError{ReadFailure::BadPicNumber,
                         "its " + std::string(layout.image ? "image" : "PIC") +
                             " number byte (61) is " + std::to_string(number) + ", not 0 to 9"};
    CalculatorPicture picture = newPicture(format);
    picture.buffer = PicFileBuffer::fromFields(
        number, bytes.substr(PicFileBuffer::kCommentOffset, PicFileBuffer::kCommentSize), {});
    picture.comment = std::string(untilNul(picture.buffer.commentField()));
    picture.archived = headerLength == 13 && b.at(kNameOffset + 9, 0) == kArchived;
    PixelGrid& grid = picture.grid;
    if (layout.image) {
        picture.rowPadding.assign(kTi84CeImageRows, 0);
        for (int k = 0; k < kTi84CeImageRows; ++k) {
            const size_t row = at.pixels + size_t(k) * kTi84CeImageRowBytes;
            std::int16_t* cells = grid.row(kTi84CeImageRows - 1 - k);
            for (int c = 0; c < kTi84CeImageColumns; ++c)
                cells[c] = std::int16_t(b.le16(row + 2 * size_t(c), 0));
            picture.rowPadding[size_t(k)] =
                std::uint16_t(b.le16(row + 2 * size_t(kTi84CeImageColumns), 0));
        }
    } else {
        constexpr int rowBytes = kTi84CePictureColumns / 2;
        for (int r = 0; r < kTi84CePictureRows; ++r) {
            std::int16_t* cells = grid.row(r);
            for (int j = 0; j < rowBytes; ++j) {
                const unsigned byte = b.at(at.pixels + size_t(r * rowBytes + j), 0);
                cells[2 * j] = std::int16_t(byte >> 4);
                cells[2 * j + 1] = std::int16_t(byte & 0x0F);
            }
        }
    }
    return picture;
}

std::variant<std::vector<std::uint8_t>, std::string> writeTi84Ce(CalculatorPicture& picture,
                                                                 FormatId format) {
    const Layout layout = layoutOf(format);
    const FormatDescriptor& f = formatOf(format);
    const PixelGrid& grid = picture.grid;
    if (grid.rows() != f.picture.rows || grid.columns() != f.picture.columns)
        return "a " + std::string(f.calculators) + " " + std::string(layout.what) + " is " +
               std::to_string(f.picture.columns) + " x " + std::to_string(f.picture.rows) +
               " pixels, not " + std::to_string(grid.columns()) + " x " +
               std::to_string(grid.rows());
    std::vector<std::uint8_t> file;
    file.reserve(placesOf(layout, 13).checksum + 2);
    auto le16 = [&](unsigned v) {
        file.push_back(std::uint8_t(v));
        file.push_back(std::uint8_t(v >> 8));
    };
    file.insert(file.end(), f.signature.begin(), f.signature.end());
    file.insert(file.end(), {0x1A, 0x0A, 0x00});
    // As a .8xi's: up to 41 bytes of comment, then its NUL; the field's other bytes as read.
    std::string comment(picture.buffer.commentField());
    const size_t n = std::min(picture.comment.size(), comment.size() - 1);
    std::copy_n(picture.comment.begin(), n, comment.begin());
    if (n < comment.size() - 1)
        comment[n] = '\0';
    file.insert(file.end(), comment.begin(), comment.end());
    const unsigned variableData = 2 + layout.size;
    le16(2 + 13 + 2 + variableData);
    le16(13);
    le16(variableData);
    file.push_back(layout.type);
    file.push_back(layout.nameByte);
    file.push_back(picture.buffer.picNumber());
    file.insert(file.end(), 6, 0x00);
    file.push_back(layout.version);
    file.push_back(picture.archived ? kArchived : 0x00);
    le16(variableData);
    le16(layout.size);
    if (layout.image) {
        file.push_back(kTi84CeImageMark);
        for (int k = 0; k < kTi84CeImageRows; ++k) {
            const std::int16_t* cells = grid.row(kTi84CeImageRows - 1 - k);
            for (int c = 0; c < kTi84CeImageColumns; ++c)
                le16(std::uint16_t(cells[c]));
            le16(picture.rowPadding.size() == size_t(kTi84CeImageRows)
                     ? picture.rowPadding[size_t(k)]
                     : 0);
        }
    } else {
        for (int r = 0; r < kTi84CePictureRows; ++r) {
            const std::int16_t* cells = grid.row(r);
            for (int j = 0; j < kTi84CePictureColumns / 2; ++j)
                file.push_back(
                    std::uint8_t((cells[2 * j] & 0x0F) << 4 | (cells[2 * j + 1] & 0x0F)));
        }
    }
    le16(byteSum16(file.begin() + kHeaderLengthOffset, file.end()));
    return file;
}

void examineTi84Ce(std::string_view bytes, std::uint64_t fileSize, const CalculatorPicture& read,
                   FileReport& report) {
    const Layout layout = layoutOf(report.format);
    const FileBytes b{bytes};
    const FormatDescriptor& format = formatOf(report.format);
    Notes notes(report.notes);
    notes.signature(b, format.signature, format.extension);
    report.picNumber = picNumberOfByte(read.buffer.picNumber());
    const unsigned headerLength = b.le16(kHeaderLengthOffset, 0);
    const Places at = placesOf(layout, headerLength);
    if (b.at(8, 0) != 0x1A || b.at(9, 0) != 0x0A)
        notes.add("bytes 8 and 9 are " + b.hex(8, 2) + ", not 1A 0A");
    if (b.at(10, 0) != 0)
        notes.add("the owner byte (10) is " + hexText(b.at(10, 0)) + ", not 00");
    if (headerLength == 11)
        notes.add("an 11-byte variable header, without version and flag bytes");
    const unsigned variableData = 2 + layout.size;
    notes.wordIs(b.le16(53, 0), unsigned(at.checksum - kHeaderLengthOffset),
                 "the data length (bytes 53-54)");
    notes.wordIs(b.le16(57, 0), variableData, "the variable data length (bytes 57-58)");
    if (b.at(kNameOffset, 0) != layout.nameByte)
        notes.add("the first name byte (60) is " + hexText(b.at(kNameOffset, 0)) + ", not " +
                  hexText(layout.nameByte) + (layout.image ? " (Image)" : " (Pic)"));
    if (b.hex(62, 6) != "00 00 00 00 00 00")
        notes.add("name bytes 62-67 are " + b.hex(62, 6) + ", not zeros");
    if (headerLength == 13) {
        if (b.at(68, 0) != layout.version)
            notes.add("the version byte (68) is " + hexText(b.at(68, 0)) + ", not " +
                      hexText(layout.version));
        if (b.at(69, 0) != 0 && b.at(69, 0) != kArchived)
            notes.add("the flag byte (69) is " + hexText(b.at(69, 0)) +
                      ", neither 00 (RAM) nor 80 (archived)");
    }
    notes.wordIs(b.le16(at.dataAgain, 0), variableData, "the repeated variable data length");
    notes.trailing(fileSize, at.checksum + 2);
    report.storedChecksum = b.storedLe16(at.checksum);
    report.computedChecksum = b.sum(kHeaderLengthOffset, at.checksum);
    report.archived = read.archived;
}

} // namespace

void addTi84CeFormats(std::vector<FormatDescriptor>& formats) {
    FormatDescriptor picture{};
    picture.id = FormatId::Ti84CePicture;
    picture.extension = "8ci";
    picture.signature = "**TI83F*";
    picture.contentBytes = {{kTypeOffset, kTi84CePictureType}, {68, 0x0A}};
    picture.calculators = "TI-84 Plus CE and TI-83 Premium CE";
    picture.program = Program::Dotwell;
    picture.family = Family::Ti83;
    picture.cells = CellKind::Palette;
    picture.picture = {kTi84CePictureColumns, kTi84CePictureRows};
    picture.screen = {320, 240};
    picture.graph = {kTi84CePictureColumns - 1, kTi84CePictureRows};
    picture.largest = picture.picture;
    picture.picNumbers = 10;
    picture.mimeType = "application/x-ti84ce-picture";
    picture.magicPriority = 60; // before the .8xi's rule, which matches its signature too
    picture.openEntry = {7, "TI-84 Plus CE Pictures|*.8ci"};
    picture.saveEntry = {9, "TI-84 Plus CE Pictures (*.8ci)|*.8ci"};
    picture.read = readTi84Ce;
    picture.write = writeTi84Ce;
    picture.examine = examineTi84Ce;
    FormatDescriptor image = picture;
    image.id = FormatId::Ti84CeImage;
    image.extension = "8ca";
    image.contentBytes = {{kTypeOffset, kTi84CeImageType}};
    image.cells = CellKind::Rgb565;
    image.picture = {kTi84CeImageColumns, kTi84CeImageRows};
    image.largest = image.picture;
    image.variablePrefix = "Image";
    image.mimeType = "application/x-ti84ce-image";
    image.openEntry = {8, "TI-84 Plus CE Images|*.8ca"};
    image.saveEntry = {10, "TI-84 Plus CE Images (*.8ca)|*.8ca"};
    formats.push_back(picture);
    formats.push_back(image);
}

} // namespace core
