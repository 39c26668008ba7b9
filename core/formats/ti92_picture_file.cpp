// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/formats/ti92_picture_file.h"

#include <algorithm>
#include <cassert>

#include "core/formats/byte_sum.h"
#include "core/formats/format_units.h"
#include "core/formats/ti68k_names.h"
#include "core/model/codepage.h"
#include "core/model/file_names.h"

namespace core {
namespace {

void put(Ti92FileBytes& file, size_t& at, std::string_view bytes, size_t width, char pad) {
    const size_t n = std::min(bytes.size(), width);
    for (size_t i = 0; i < width; ++i)
        file[at + i] = static_cast<std::uint8_t>(i < n ? bytes[i] : pad);
    at += width;
}

void put(Ti92FileBytes& file, size_t& at, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t b : bytes)
        file[at++] = b;
}

int bigEndian16(std::string_view bytes, size_t at) {
    return (static_cast<std::uint8_t>(bytes[at]) << 8) | static_cast<std::uint8_t>(bytes[at + 1]);
}

std::string field(std::string_view bytes, size_t at, size_t width) {
    return std::string(untilNul(bytes.substr(at, width)));
}

} // namespace

std::string_view withoutPadding(std::string_view comment) {
    while (!comment.empty() && comment.back() == ' ')
        comment.remove_suffix(1);
    return comment;
}

Ti92FileBytes buildTi92File(const PixelGrid& grid, const Ti92Texts& texts,
                            std::string_view signature, std::uint8_t attribute) {
    const bool screen = grid.rows() == kTi92Rows && grid.columns() == kTi92Columns;
    const size_t rowBytes = (size_t(grid.columns()) + 7) / 8;
    const size_t variableSize = 5 + size_t(grid.rows()) * rowBytes; // height, width, rows, DF
    const size_t fileSize = kTi92VariableOffset + 4 + 2 + variableSize + 2;
    Ti92FileBytes file(fileSize);
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
    le16(byteSum16(file.begin() + kTi92VariableOffset, file.begin() + at));
    assert(at == fileSize);
    return file;
}

std::variant<Ti92Picture, Ti92ReadError> readTi92File(std::string_view bytes, PixelGrid& grid) {
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
        grid = PixelGrid(std::max(picture.height, grid.rows()),
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

namespace {

std::variant<CalculatorPicture, ReadError> readTi92(std::string_view bytes, FormatId format) {
    CalculatorPicture picture = newPicture(format);
    const auto read = readTi92File(bytes, picture.grid);
    if (std::holds_alternative<Ti92ReadError>(read))
        return ReadError{ReadFailure::TooShort,
                         "too short to hold the picture it describes; it may be damaged"};
    const Ti92Picture& file = std::get<Ti92Picture>(read);
    picture.pictureRows = file.height;
    picture.pictureColumns = file.width;
    picture.attribute = file.attribute;
    picture.comment = withoutPadding(file.texts.comment);
    picture.folder = decodeTi92(file.texts.folder);
    picture.variable = decodeTi92(file.texts.variable);
    return picture;
}

std::variant<std::vector<std::uint8_t>, std::string> writeTi92(CalculatorPicture& picture,
                                                               FormatId format) {
    for (const auto& [text, kind] : {std::pair{&picture.variable, NameKind::Variable},
                                     std::pair{&picture.folder, NameKind::Folder}}) {
        const NameVerdict verdict = checkName(*text, kind);
        if (!verdict.ok)
            return messageLine(verdict.title + U" " + verdict.message);
    }
    const auto folder = encodeTi92(picture.folder);
    const auto variable = encodeTi92(picture.variable);
    // The comment box takes at most 40 characters.
    const std::string comment = picture.comment.substr(0, 40);
    return buildTi92File(picture.grid, {*folder, *variable, comment}, formatOf(format).signature,
                         picture.attribute);
}

void examineTi92(std::string_view bytes, std::uint64_t fileSize, const CalculatorPicture& read,
                 FileReport& report) {
    const FileBytes b{bytes};
    const FormatDescriptor& format = formatOf(report.format);
    Notes notes(report.notes);
    notes.signature(b, format.signature, format.extension);
    report.storedHeight = int(b.be16(kTi92HeightOffset));
    report.storedWidth = int(b.be16(kTi92WidthOffset));
    const bool full = report.height == kTi92Rows && report.width == kTi92Columns;
    const bool larger =
        report.height > format.largest.rows || report.width > format.largest.columns;
    const bool smaller =
        report.height < format.picture.rows || report.width < format.picture.columns;
    const size_t stride = full ? kTi92RowBytes : (size_t(report.width) + 7) / 8;
    const size_t closing = kTi92PixelOffset + size_t(report.height) * stride;
    const size_t checksumAt = closing + 1;
    if (b.at(8, 0) != 0x01 || b.at(9, 0) != 0x00)
        notes.add("bytes 8 and 9 are " + b.hex(8, 2) + ", not 01 00");
    notes.wordIs(b.le16(58), 1, "the variable count (bytes 58-59)");
    notes.wordIs(b.le32(60), 82, "the data offset (bytes 60-63)");
    if (b.at(72, 0) != kTi92PictureType)
        notes.add("the type byte (72) is " + hexText(b.at(72, 0)) + ", not 10 (picture)");
    notes.wordIs(b.le32(76), unsigned(fileSize), "the file size (bytes 76-79)");
    if (b.at(80, 0) != 0xA5 || b.at(81, 0) != 0x5A)
        notes.add("bytes 80 and 81 are " + b.hex(80, 2) + ", not A5 5A");
    if (full) {
        if (*report.storedHeight != 103 || *report.storedWidth != 239)
            notes.add("the stored height and width are " + std::to_string(*report.storedHeight) +
                      " and " + std::to_string(*report.storedWidth) +
                      ", not 103 and 239; the reader takes the full 240 x 103 screen");
        notes.wordIs(b.be16(kTi92SizeOffset), unsigned(kTi92FullVariableSize),
                     "the variable size (bytes 86-87)");
    } else if (larger) {
        notes.add("the picture is " + std::to_string(report.width) + " x " +
                  std::to_string(report.height) + ", larger than the " +
                  std::string(format.calculators) + "'s " +
                  std::to_string(format.largest.columns) + " x " +
                  std::to_string(format.largest.rows) + " screen");
    } else if (smaller) {
        notes.add("the picture is " + std::to_string(report.width) + " x " +
                  std::to_string(report.height) + ", smaller than the " +
                  std::to_string(format.picture.columns) + " x " +
                  std::to_string(format.picture.rows) +
                  " picture; the editor shows it at the top left");
    }
    const std::uint8_t attribute = b.at(kTi92AttributeOffset, 0);
    report.attribute = attribute;
    report.archived = attribute == kTi92Archived;
    if (attribute == kTi92Locked)
        notes.add("the variable is locked (attribute byte 73 is 01)");
    else if (attribute != 0 && attribute != kTi92Archived)
        notes.add("the attribute byte (73) is " + hexText(attribute) +
                  ", neither 00, 01 (locked) nor 03 (archived)");
    if (b.at(closing, 0) != kTi92ClosingByte)
        notes.add("the byte after the picture (" + std::to_string(closing) + ") is " +
                  hexText(b.at(closing, 0)) + ", not DF");
    notes.trailing(fileSize, checksumAt + 2);
    for (const auto& [text, kind] : {std::pair{&read.folder, NameKind::Folder},
                                     std::pair{&read.variable, NameKind::Variable}}) {
        const NameVerdict verdict = checkName(*text, kind);
        if (!verdict.ok)
            notes.add("the editors save no file under this name: " + messageLine(verdict.message));
    }
    report.folder = read.folder;
    report.name = read.variable;
    report.storedChecksum = b.storedLe16(checksumAt);
    report.computedChecksum = b.sum(kTi92VariableOffset, checksumAt);
}

} // namespace

void addTi92Formats(std::vector<FormatDescriptor>& formats) {
    FormatDescriptor ti92{};
    ti92.id = FormatId::Ti92;
    ti92.extension = "92i";
    ti92.signature = kTi92Signature;
    ti92.calculators = "TI-92";
    ti92.program = Program::Pixvane;
    ti92.family = Family::Ti92;
    ti92.picture = {kTi92Columns, kTi92Rows};
    ti92.screen = {240, 128};
    ti92.graph = {239, 103};
    ti92.largest = {240, 128};
    ti92.mimeType = "application/x-ti92-picture";
    ti92.openEntry = {1, "TI-92 Image Files (*.92i)|*.92i"};
    ti92.saveEntry = {1, "TI-92 Image Files (*.92I)|*.92I"};
    ti92.saveEntryCompletesName = false;
    ti92.read = readTi92;
    ti92.write = writeTi92;
    ti92.examine = examineTi92;
    FormatDescriptor plus = ti92;
    plus.id = FormatId::Ti92Plus;
    plus.extension = "9xi";
    plus.signature = kTi92PlusSignature;
    plus.calculators = "TI-92 Plus";
    plus.mimeType = "application/x-ti92plus-picture";
    plus.openEntry = {2, "TI-92 Plus/Voyage 200 Pictures|*.9xi;*.v2i"};
    plus.saveEntry = {3, "TI-92 Plus Pictures (*.9xi)|*.9xi"};
    plus.saveEntryCompletesName = true;
    FormatDescriptor voyage = plus;
    voyage.id = FormatId::Voyage200;
    voyage.extension = "v2i";
    voyage.calculators = "Voyage 200";
    voyage.mimeType = "application/x-v200-picture";
    // The same bytes as a .9xi: the name alone tells them apart, and content alone gives the
    // TI-92 Plus type.
    voyage.mimeParent = "application/x-ti92plus-picture";
    voyage.magicPriority = 40;
    voyage.saveEntry = {4, "Voyage 200 Pictures (*.v2i)|*.v2i"};
    // Some link programs write a Voyage 200 picture with a signature of its own.
    voyage.alsoRead = {"**V200**"};
    FormatDescriptor ti89 = plus;
    ti89.id = FormatId::Ti89;
    ti89.extension = "89i";
    ti89.signature = "**TI89**";
    ti89.calculators = "TI-89 and TI-89 Titanium";
    ti89.picture = {159, 77}; // a new picture: the whole graph screen
    ti89.screen = {160, 100};
    ti89.graph = {159, 77};
    ti89.largest = {160, 100};
    ti89.mimeType = "application/x-ti89-picture";
    ti89.mimeParent = "";
    ti89.magicPriority = 50;
    ti89.alsoRead = {};
    ti89.openEntry = {3, "TI-89 Pictures|*.89i"};
    ti89.saveEntry = {6, "TI-89 Pictures (*.89i)|*.89i"};
    formats.push_back(ti92);
    formats.push_back(plus);
    formats.push_back(voyage);
    formats.push_back(ti89);
}

} // namespace core
