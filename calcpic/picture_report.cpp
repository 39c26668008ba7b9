// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "calcpic/picture_report.h"

#include <cstdio>

#include "calcpic/calculator_content.h"
#include "core/model/codepage.h"
#include "dotwell/ti83plus_picture_file.h"
#include "pixvane/ti92_names.h"
#include "pixvane/ti92_picture_file.h"

namespace calcpic {
namespace {

// Reads the head of a file as the TI-82/83 reader does: bytes past the end are spaces.
struct Bytes {
    std::string_view data;
    std::uint8_t at(size_t i, std::uint8_t missing = 0x20) const {
        return i < data.size() ? std::uint8_t(data[i]) : missing;
    }
    unsigned le16(size_t i) const { return at(i) | unsigned(at(i + 1)) << 8; }
    unsigned be16(size_t i) const { return unsigned(at(i)) << 8 | at(i + 1); }
    unsigned le32(size_t i) const { return le16(i) | le16(i + 2) << 16; }
    std::uint16_t sum(size_t from, size_t to) const {
        unsigned s = 0;
        for (size_t i = from; i < to; ++i)
            s += at(i);
        return std::uint16_t(s & 0xFFFF);
    }
    std::optional<std::uint16_t> storedLe16(size_t i) const {
        if (data.size() < i + 2)
            return std::nullopt;
        return std::uint16_t(le16(i));
    }
};

std::string hexBytes(const Bytes& b, size_t from, size_t count) {
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        if (i)
            out += ' ';
        out += hexText(b.at(from + i, 0));
    }
    return out;
}

// A signature as text, with anything unprintable as \xNN.
std::string shown(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        const auto u = std::uint8_t(c);
        out += u >= 0x20 && u < 0x7F ? std::string(1, c) : "\\x" + hexText(u);
    }
    return '"' + out + '"';
}

class Notes {
public:
    explicit Notes(std::vector<std::string>& notes) : m_notes(notes) {}
    void wordIs(unsigned value, unsigned expected, std::string_view what) {
        if (value != expected)
            add(std::string(what) + " is " + std::to_string(value) + ", not " +
                std::to_string(expected));
    }
    void add(std::string note) { m_notes.push_back(std::move(note)); }
    void signature(const Bytes& b, Format format) {
        const std::string_view expected = infoOf(format).signature;
        const std::string_view actual = b.data.substr(0, 8);
        if (actual != expected)
            add("its signature is " + shown(actual) + ", not " + shown(expected) + " as a ." +
                std::string(infoOf(format).extension) +
                " file's; the reader does "
                "not look at it");
    }
    void trailing(std::uint64_t fileSize, size_t read) {
        if (fileSize > read)
            add(std::to_string(fileSize - read) + " bytes after byte " + std::to_string(read) +
                " are not read");
    }

private:
    std::vector<std::string>& m_notes;
};

void inspectTi83(const Bytes& b, std::uint64_t fileSize, Format format, PictureReport& report) {
    Notes notes(report.notes);
    notes.signature(b, format);
    const bool plus = format == Format::Ti83Plus;
    const unsigned headerLength = plus ? b.le16(55) : 11;
    const size_t size =
        plus && headerLength == 13 ? dotwell::kTi83PlusFileSize : dotwell::PicFileBuffer::kSize;
    if (b.data.size() < size) {
        report.missingBytes = size - b.data.size();
        notes.add("the file is " + std::to_string(b.data.size()) + " bytes, shorter than " +
                  std::to_string(size) + "; the reader takes the missing bytes as spaces");
    }
    notes.trailing(fileSize, size);
    if (b.at(8) != 0x1A || b.at(9) != 0x0A)
        notes.add("bytes 8 and 9 are " + hexBytes(b, 8, 2) + ", not 1A 0A");
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
        notes.add("name bytes 62-67 are " + hexBytes(b, 62, 6) + ", not zeros");
    const size_t after = 57 + headerLength; // the repeated data length, then the picture size
    if (plus && headerLength == 13) {
        if (b.at(68) != 0)
            notes.add("the version byte (68) is " + hexText(b.at(68)) + ", not 00");
        if (b.at(69) != 0 && b.at(69) != 0x80)
            notes.add("the flag byte (69) is " + hexText(b.at(69)) +
                      ", neither 00 (RAM) nor 80 "
                      "(archived)");
    }
    notes.wordIs(b.le16(after), 758, "the repeated variable data length");
    notes.wordIs(b.le16(after + 2), 756, "the picture size");
    const int picByte = b.at(dotwell::PicFileBuffer::kPicNumberOffset);
    if (format == Format::Ti82 && picByte >= 6)
        notes.add("Pic" + std::to_string((picByte + 1) % 10) +
                  " does not exist on the TI-82: the file can be saved only as .83i or .8xi");
    const size_t checksumAt = after + 4 + dotwell::PicFileBuffer::kPictureSize;
    report.storedChecksum = b.storedLe16(checksumAt);
    report.computedChecksum = b.sum(55, checksumAt);
    if (plus)
        report.archived = headerLength == 13 && b.at(69) == 0x80;
}

void inspectTi92(const Bytes& b, std::uint64_t fileSize, Format format,
                 const CalculatorContent& content, PictureReport& report) {
    Notes notes(report.notes);
    notes.signature(b, format);
    report.storedHeight = int(b.be16(pixvane::kTi92HeightOffset));
    report.storedWidth = int(b.be16(pixvane::kTi92WidthOffset));
    const bool full = report.height == pixvane::kTi92Rows && report.width == pixvane::kTi92Columns;
    const bool larger = report.height > pixvane::kTi92Rows || report.width > pixvane::kTi92Columns;
    const size_t stride = full ? pixvane::kTi92RowBytes : (size_t(report.width) + 7) / 8;
    const size_t closing = pixvane::kTi92PixelOffset + size_t(report.height) * stride;
    const size_t checksumAt = closing + 1;
    if (b.at(8, 0) != 0x01 || b.at(9, 0) != 0x00)
        notes.add("bytes 8 and 9 are " + hexBytes(b, 8, 2) + ", not 01 00");
    notes.wordIs(b.le16(58), 1, "the variable count (bytes 58-59)");
    notes.wordIs(b.le32(60), 82, "the data offset (bytes 60-63)");
    if (b.at(72, 0) != pixvane::kTi92PictureType)
        notes.add("the type byte (72) is " + hexText(b.at(72, 0)) + ", not 10 (picture)");
    notes.wordIs(b.le32(76), unsigned(fileSize), "the file size (bytes 76-79)");
    if (b.at(80, 0) != 0xA5 || b.at(81, 0) != 0x5A)
        notes.add("bytes 80 and 81 are " + hexBytes(b, 80, 2) + ", not A5 5A");
    if (full) {
        if (*report.storedHeight != 103 || *report.storedWidth != 239)
            notes.add("the stored height and width are " + std::to_string(*report.storedHeight) +
                      " and " + std::to_string(*report.storedWidth) +
                      ", not 103 and 239; the reader takes the full 240 x 103 screen");
        notes.wordIs(b.be16(pixvane::kTi92SizeOffset), unsigned(pixvane::kTi92FullVariableSize),
                     "the variable size (bytes 86-87)");
    } else if (larger) {
        notes.add("the picture is " + std::to_string(report.width) + " x " +
                  std::to_string(report.height) +
                  ", larger than the 240 x 103 picture pixvane edits; pixvane does not open it");
    } else {
        notes.add("the picture is " + std::to_string(report.width) + " x " +
                  std::to_string(report.height) +
                  ", smaller than the 240 x 103 screen; the editor shows it at the top left");
    }
    const std::uint8_t attribute = b.at(pixvane::kTi92AttributeOffset, 0);
    report.attribute = attribute;
    report.archived = attribute == pixvane::kTi92Archived;
    if (attribute == pixvane::kTi92Locked)
        notes.add("the variable is locked (attribute byte 73 is 01)");
    else if (attribute != 0 && attribute != pixvane::kTi92Archived)
        notes.add("the attribute byte (73) is " + hexText(attribute) +
                  ", neither 00, 01 (locked) nor 03 (archived)");
    if (b.at(closing, 0) != pixvane::kTi92ClosingByte)
        notes.add("the byte after the picture (" + std::to_string(closing) + ") is " +
                  hexText(b.at(closing, 0)) + ", not DF");
    notes.trailing(fileSize, checksumAt + 2);
    for (const auto& [text, kind] : {std::pair{&content.folder, pixvane::NameKind::Folder},
                                     std::pair{&content.variable, pixvane::NameKind::Variable}}) {
        const pixvane::NameVerdict verdict = pixvane::checkName(*text, kind);
        if (!verdict.ok)
            notes.add("the editors save no file under this name: " + messageLine(verdict.message));
    }
    report.folder = content.folder;
    report.name = content.variable;
    report.storedChecksum = b.storedLe16(checksumAt);
    report.computedChecksum = b.sum(pixvane::kTi92VariableOffset, checksumAt);
}

} // namespace

std::string hexText(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

std::optional<PictureReport> inspect(std::string_view bytes, std::uint64_t fileSize, Format format,
                                     std::string* error) {
    const auto content = readContent(bytes, format);
    if (const auto* reason = std::get_if<std::string>(&content)) {
        *error = *reason;
        return std::nullopt;
    }
    PictureReport report;
    report.format = format;
    const Bytes b{bytes};
    const CalculatorContent& c = std::get<CalculatorContent>(content);
    report.width = c.pictureColumns;
    report.height = c.pictureRows;
    report.comment = core::decodeWindows1252(c.comment);
    if (familyOf(format) == Family::Ti83) {
        report.picNumber = (c.buffer.picNumber() + 1) % 10;
        inspectTi83(b, fileSize, format, report);
    } else {
        inspectTi92(b, fileSize, format, c, report);
    }
    return report;
}

} // namespace calcpic
