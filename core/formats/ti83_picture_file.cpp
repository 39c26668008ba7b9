// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/formats/ti83_picture_file.h"

#include <algorithm>

#include "core/formats/byte_sum.h"
#include "core/formats/format_units.h"
#include "core/formats/ti83plus_picture_file.h"
#include "core/model/codepage.h"
#include "core/model/file_names.h"

namespace core {

PicFileBuffer::PicFileBuffer() {
    applyTemplate(0);
    m_bytes[10] = 0x00;
}

PicFileBuffer PicFileBuffer::fromFile(std::string_view bytes) {
    PicFileBuffer buffer;
    buffer.m_bytes.fill(0x20);
    std::copy_n(bytes.begin(), std::min(bytes.size(), kSize), buffer.m_bytes.begin());
    return buffer;
}

void PicFileBuffer::applyTemplate(int picNumber) {
    static constexpr std::uint8_t signature[] = {'*', '*', 'T', 'I',  '8',
                                                 '2', '*', '*', 0x1A, 0x0A};
    std::copy(std::begin(signature), std::end(signature), m_bytes.begin());
    static constexpr std::uint8_t dataLength[] = {0x05, 0x03}; // 773
    std::copy(std::begin(dataLength), std::end(dataLength), m_bytes.begin() + kDataLengthOffset);
    // Variable header length 11, data length 758, type 7 (picture), name byte 1.
    static constexpr std::uint8_t header[] = {0x0B, 0x00, 0xF6, 0x02, 0x07, 0x60};
    std::copy(std::begin(header), std::end(header), m_bytes.begin() + kDataOffset);
    m_bytes[kPicNumberOffset] = static_cast<std::uint8_t>(picNumber);
    static constexpr std::uint8_t sizes[] = {0xF6, 0x02, 0xF4, 0x02}; // 758 again, then 756
    std::copy(std::begin(sizes), std::end(sizes), m_bytes.begin() + kDataLengthAgainOffset);
}

PicFileBuffer PicFileBuffer::fromFields(int picNumber, std::string_view commentField,
                                        std::string_view pictureBytes) {
    PicFileBuffer buffer;
    buffer.applyTemplate(picNumber);
    std::copy_n(commentField.begin(), std::min(commentField.size(), kCommentSize),
                buffer.m_bytes.begin() + kCommentOffset);
    std::copy_n(pictureBytes.begin(), std::min(pictureBytes.size(), kPictureSize),
                buffer.m_bytes.begin() + kPictureOffset);
    return buffer;
}

std::string_view PicFileBuffer::commentField() const {
    return view().substr(kCommentOffset, kCommentSize);
}

void PicFileBuffer::decodePicture(PixelGrid& grid) const {
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kBytesPerRow; ++c) {
            grid.setBits(r, 8 * c, m_bytes[kPictureOffset + kBytesPerRow * r + c]);
        }
    }
}

void PicFileBuffer::complete(std::string_view fileName, std::string_view comment,
                             const PixelGrid& grid) {
    m_bytes[kModelDigitOffset] = endsWithNoCase(fileName, "83I") ? '3' : '2';

    // At most 41 bytes: up to 40 characters and their NUL, or the first 41 without one.
    // The 42nd comment byte is never written; bytes after the NUL keep what they held.
    const size_t n = std::min(comment.size(), kCommentSize - 1);
    std::copy_n(comment.begin(), n, m_bytes.begin() + kCommentOffset);
    if (n < kCommentSize - 1)
        m_bytes[kCommentOffset + n] = 0x00;

    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kBytesPerRow; ++c)
            m_bytes[kPictureOffset + kBytesPerRow * r + c] = grid.packBits(r, 8 * c);
    }

    const std::uint16_t sum = checksum();
    m_bytes[kChecksumOffset] = static_cast<std::uint8_t>(sum & 0xFF);
    m_bytes[kChecksumOffset + 1] = static_cast<std::uint8_t>(sum >> 8);
}

std::uint16_t PicFileBuffer::checksum() const {
    return byteSum16(m_bytes.begin() + kDataOffset, m_bytes.begin() + kChecksumOffset);
}

namespace {

// The TI-73 numbers its pictures from Pic0 (byte 0) to Pic9 (byte 9); the TI-82 and TI-83
// from Pic1 (byte 0) to Pic0 (byte 9). The file image keeps the TI-82/83 numbering, the one
// the PIC buttons and the header template use; a .73i file is translated on its way in and
// out.
std::uint8_t ti73Byte(std::uint8_t ti83Byte) {
    return std::uint8_t((ti83Byte + 1) % 10);
}
std::uint8_t ti83ByteOf73(std::uint8_t ti73Byte) {
    return std::uint8_t((ti73Byte + 9) % 10);
}

std::variant<CalculatorPicture, ReadError> readTi83(std::string_view bytes, FormatId format) {
    // Padding would invent the PIC number; a file this short holds no picture.
    if (bytes.size() <= PicFileBuffer::kPicNumberOffset)
        return ReadError{ReadFailure::TooShort,
                         "too short to hold a " + std::string(formatOf(format).calculators) +
                             " picture; it may be damaged"};
    CalculatorPicture picture = newPicture(format);
    picture.buffer = PicFileBuffer::fromFile(bytes.substr(0, PicFileBuffer::kSize));
    if (picture.buffer.picNumber() > 9)
        return ReadError{ReadFailure::BadPicNumber,
                         "not a TI-82/83 picture: its PIC number byte is " +
                             std::to_string(picture.buffer.picNumber()) + ", not 0 to 9"};
    if (format == FormatId::Ti73) {
        // The signature of the file image is the template's; the file's own is written back
        // by a save as .73i only.
        picture.buffer = PicFileBuffer::fromFields(ti83ByteOf73(picture.buffer.picNumber()),
                                                   picture.buffer.commentField(),
                                                   picture.buffer.pictureBytes());
    }
    picture.buffer.decodePicture(picture.grid);
    picture.comment = std::string(untilNul(picture.buffer.commentField()));
    return picture;
}

std::variant<std::vector<std::uint8_t>, std::string> writeTi83(CalculatorPicture& picture,
                                                               FormatId format) {
    if (!picAllowed(formatOf(format), picture.buffer.picNumber()))
        return std::string("OOPS! TI-82 PIC variable must be 1..6");
    picture.buffer.complete(formatOf(format).extension, picture.comment, picture.grid);
    std::vector<std::uint8_t> file(picture.buffer.bytes().begin(), picture.buffer.bytes().end());
    if (format == FormatId::Ti73) {
        const std::string_view signature = formatOf(format).signature;
        std::copy(signature.begin(), signature.end(), file.begin());
        file[PicFileBuffer::kPicNumberOffset] = ti73Byte(picture.buffer.picNumber());
        const std::uint16_t sum = byteSum16(file.begin() + PicFileBuffer::kDataOffset,
                                            file.begin() + PicFileBuffer::kChecksumOffset);
        file[PicFileBuffer::kChecksumOffset] = std::uint8_t(sum);
        file[PicFileBuffer::kChecksumOffset + 1] = std::uint8_t(sum >> 8);
    }
    return file;
}

} // namespace

void examineTi83Family(std::string_view bytes, std::uint64_t fileSize,
                       const CalculatorPicture& read, FileReport& report) {
    const FileBytes b{bytes};
    const FormatDescriptor& format = formatOf(report.format);
    Notes notes(report.notes);
    notes.signature(b, format.signature, format.extension);
    report.picNumber = picNumberOfByte(read.buffer.picNumber()); // read has the TI-83 numbering
    const bool plus = report.format == FormatId::Ti83Plus;
    const unsigned headerLength = plus ? b.le16(55) : 11;
    const size_t size = plus && headerLength == 13 ? kTi83PlusFileSize : PicFileBuffer::kSize;
    if (b.data.size() < size) {
        report.missingBytes = size - b.data.size();
        notes.add("the file is " + std::to_string(b.data.size()) + " bytes, shorter than " +
                  std::to_string(size) + "; the reader takes the missing bytes as spaces");
    }
    notes.trailing(fileSize, size);
    if (b.at(8) != 0x1A || b.at(9) != 0x0A)
        notes.add("bytes 8 and 9 are " + b.hex(8, 2) + ", not 1A 0A");
    if (b.at(10) != 0)
        notes.add(std::string(plus ? "the owner byte (10)" : "byte 10") + " is " +
                  hexText(b.at(10)) + ", not 00");
    if (plus && headerLength == 11)
        notes.add("an 11-byte variable header, without version and flag bytes");
    notes.wordIs(b.le16(53), unsigned(size - 57), "the data length (bytes 53-54)");
    if (!plus)
        notes.wordIs(b.le16(55), 11, "the variable header length (bytes 55-56)");
    notes.wordIs(b.le16(57), 758, "the variable data length (bytes 57-58)");
    if (b.at(59) != 0x07)
        notes.add("the type byte (59) is " + hexText(b.at(59)) + ", not 07 (picture)");
    if (b.at(60) != 0x60)
        notes.add("the first name byte (60) is " + hexText(b.at(60)) + ", not 60 (Pic)");
    bool nameZeros = true;
    for (size_t i = 62; i < 68; ++i)
        nameZeros = nameZeros && b.at(i) == 0;
    if (!nameZeros)
        notes.add("name bytes 62-67 are " + b.hex(62, 6) + ", not zeros");
    const size_t after = 57 + headerLength; // the repeated data length, then the picture size
    if (plus && headerLength == 13) {
        if (b.at(68) != 0)
            notes.add("the version byte (68) is " + hexText(b.at(68)) + ", not 00");
        if (b.at(69) != 0 && b.at(69) != 0x80)
            notes.add("the flag byte (69) is " + hexText(b.at(69)) +
                      ", neither 00 (RAM) nor 80 (archived)");
    }
    notes.wordIs(b.le16(after), 758, "the repeated variable data length");
    notes.wordIs(b.le16(after + 2), 756, "the picture size");
    const int picByte = b.at(PicFileBuffer::kPicNumberOffset);
    if (!picAllowed(format, picByte) && picByte <= 9)
        notes.add("Pic" + std::to_string(picNumberOfByte(picByte)) + " does not exist on the " +
                  std::string(format.calculators) + ": the file can be saved only as .83i or .8xi");
    const size_t checksumAt = after + 4 + PicFileBuffer::kPictureSize;
    report.storedChecksum = b.storedLe16(checksumAt);
    report.computedChecksum = b.sum(55, checksumAt);
    if (plus)
        report.archived = headerLength == 13 && b.at(69) == 0x80;
}

void addTi83Formats(std::vector<FormatDescriptor>& formats) {
    FormatDescriptor ti82{};
    ti82.id = FormatId::Ti82;
    ti82.extension = "82i";
    ti82.signature = "**TI82**";
    ti82.calculators = "TI-82";
    ti82.program = Program::Dotwell;
    ti82.family = Family::Ti83;
    ti82.picture = {96, 63};
    ti82.screen = {96, 64};
    ti82.graph = {95, 63};
    ti82.largest = {96, 63};
    ti82.picNumbers = 6;
    ti82.mimeType = "application/x-ti82-picture";
    ti82.openEntry = {1, "82/3 Images|*.82i;*.83i"};
    ti82.saveEntry = {1, "TI-82 Image Files (*.82i)|*.82i"};
    ti82.saveEntryCompletesName = false;
    ti82.read = readTi83;
    ti82.write = writeTi83;
    ti82.examine = examineTi83Family;
    FormatDescriptor ti83 = ti82;
    ti83.id = FormatId::Ti83;
    ti83.extension = "83i";
    ti83.signature = "**TI83**";
    ti83.calculators = "TI-83";
    ti83.picNumbers = 10;
    ti83.mimeType = "application/x-ti83-picture";
    ti83.saveEntry = {2, "TI-83 Image Files (*.83I)|*.83I"};
    FormatDescriptor ti73 = ti83;
    ti73.id = FormatId::Ti73;
    ti73.extension = "73i";
    ti73.signature = "**TI73**";
    ti73.calculators = "TI-73";
    ti73.mimeType = "application/x-ti73-picture";
    ti73.openEntry = {4, "TI-73 Pictures|*.73i"};
    ti73.saveEntry = {6, "TI-73 Pictures (*.73i)|*.73i"};
    ti73.saveEntryCompletesName = true;
    formats.push_back(ti82);
    formats.push_back(ti83);
    formats.push_back(ti73);
}

} // namespace core
