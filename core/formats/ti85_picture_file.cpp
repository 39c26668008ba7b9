// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/formats/ti85_picture_file.h"

#include "core/formats/byte_sum.h"
#include "core/formats/format_units.h"
#include "core/model/codepage.h"

namespace core {
namespace {

constexpr size_t kHeaderLengthOffset = 55; // the checksum sums from here
constexpr size_t kTypeOffset = 59;
constexpr size_t kNameLengthOffset = 60;
constexpr size_t kNameOffset = 61;
constexpr unsigned kVariableDataLength = 2 + kTi85PictureSize; // 1010
constexpr int kRowBytes = kTi85Columns / 8;

bool letter(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
}

std::string ascii(std::u32string_view text) {
    return {text.begin(), text.end()};
}

std::variant<CalculatorPicture, ReadError> readTi85(std::string_view bytes, FormatId format) {
    const FileBytes b{bytes};
    auto tooShort = [&](size_t needed) {
        return ReadError{ReadFailure::TooShort,
                         "the file is " + std::to_string(bytes.size()) + " bytes, too short for "
                         "the " + std::to_string(needed) + " its picture takes; it may be damaged"};
    };
    if (bytes.size() < kNameOffset)
        return tooShort(kNameOffset);
    const unsigned headerLength = b.le16(kHeaderLengthOffset, 0);
    const unsigned nameLength = b.at(kNameLengthOffset, 0);
    if (b.at(kTypeOffset, 0) != kTi85PictureType)
        return ReadError{ReadFailure::Invalid, "its type byte (59) is " +
                                                   hexText(b.at(kTypeOffset, 0)) +
                                                   ", not 11: it holds no picture"};
    if (nameLength < 1 || nameLength > 8 || 4 + nameLength > headerLength || headerLength > 12)
        return ReadError{ReadFailure::Invalid,
                         "its name length (byte 60) is " + std::to_string(nameLength) +
                             " in a variable header of " + std::to_string(headerLength) +
                             " bytes: the name does not fit"};
    const size_t dataAt = kHeaderLengthOffset + 2 + headerLength; // the data length again
    if (bytes.size() < dataAt + 4 + kTi85PictureSize)
        return tooShort(dataAt + 4 + kTi85PictureSize + 2);
    if (b.le16(dataAt + 2, 0) != kTi85PictureSize)
        return ReadError{ReadFailure::Invalid, "its picture size is " +
                                                   std::to_string(b.le16(dataAt + 2, 0)) +
                                                   ", not 1008"};
    CalculatorPicture picture = newPicture(format);
    picture.comment = std::string(untilNul(bytes.substr(11, 42)));
    std::string name(bytes.substr(kNameOffset, nameLength));
    while (!name.empty() && name.back() == ' ')
        name.pop_back(); // the .86i's padding
    picture.variable = std::u32string(name.begin(), name.end());
    const char* pixels = bytes.data() + dataAt + 4;
    for (int r = 0; r < kTi85Rows; ++r)
        for (int j = 0; j < kRowBytes; ++j)
            picture.grid.setBits(r, 8 * j, std::uint8_t(pixels[r * kRowBytes + j]));
    return picture;
}

std::variant<std::vector<std::uint8_t>, std::string> writeTi85(CalculatorPicture& picture,
                                                               FormatId format) {
    if (const std::string problem = ti85NameProblem(picture.variable); !problem.empty())
        return problem;
    const FormatDescriptor& f = formatOf(format);
    const bool padded = format == FormatId::Ti86;
    std::string name = ascii(picture.variable);
    const size_t nameLength = name.size();
    if (padded)
        name.resize(8, ' ');
    const unsigned headerLength = padded ? 12 : unsigned(4 + nameLength);
    std::vector<std::uint8_t> file;
    auto le16 = [&](unsigned v) {
        file.push_back(std::uint8_t(v));
        file.push_back(std::uint8_t(v >> 8));
    };
    file.insert(file.end(), f.signature.begin(), f.signature.end());
    file.insert(file.end(), {0x1A, std::uint8_t(padded ? 0x0A : 0x0C), 0x00});
    std::string comment = picture.comment.substr(0, 40);
    comment.resize(42, '\0');
    file.insert(file.end(), comment.begin(), comment.end());
    const unsigned dataLength = 2 + headerLength + 2 + kVariableDataLength;
    le16(dataLength);
    le16(headerLength);
    le16(kVariableDataLength);
    file.push_back(kTi85PictureType);
    file.push_back(std::uint8_t(nameLength));
    file.insert(file.end(), name.begin(), name.end());
    le16(kVariableDataLength);
    le16(unsigned(kTi85PictureSize));
    for (int r = 0; r < kTi85Rows; ++r)
        for (int j = 0; j < kRowBytes; ++j)
            file.push_back(picture.grid.packBits(r, 8 * j));
    le16(byteSum16(file.begin() + kHeaderLengthOffset, file.end()));
    return file;
}

void examineTi85(std::string_view bytes, std::uint64_t fileSize, const CalculatorPicture& read,
                 FileReport& report) {
    const FileBytes b{bytes};
    const FormatDescriptor& format = formatOf(report.format);
    Notes notes(report.notes);
    notes.signature(b, format.signature, format.extension);
    const bool padded = report.format == FormatId::Ti86;
    if (b.at(8, 0) != 0x1A || b.at(9, 0) != (padded ? 0x0A : 0x0C) || b.at(10, 0) != 0)
        notes.add("bytes 8 to 10 are " + b.hex(8, 3) + ", not 1A " + (padded ? "0A" : "0C") +
                  " 00");
    const unsigned headerLength = b.le16(kHeaderLengthOffset, 0);
    const unsigned nameLength = b.at(kNameLengthOffset, 0);
    if (padded && headerLength != 12)
        notes.add("a TI-85 variable header of " + std::to_string(headerLength) +
                  " bytes, the name not padded to 8");
    const size_t dataAt = kHeaderLengthOffset + 2 + headerLength;
    const size_t checksumAt = dataAt + 4 + kTi85PictureSize;
    notes.wordIs(b.le16(53, 0), unsigned(checksumAt - kHeaderLengthOffset),
                 "the data length (bytes 53-54)");
    notes.wordIs(b.le16(57, 0), kVariableDataLength, "the variable data length (bytes 57-58)");
    notes.wordIs(b.le16(dataAt, 0), kVariableDataLength, "the repeated variable data length");
    if (const std::string problem = ti85NameProblem(read.variable); !problem.empty())
        notes.add("the editors save no file under this name: " + problem);
    (void)nameLength;
    notes.trailing(fileSize, checksumAt + 2);
    report.name = read.variable;
    report.storedChecksum = b.storedLe16(checksumAt);
    report.computedChecksum = b.sum(kHeaderLengthOffset, checksumAt);
}

} // namespace

std::string ti85NameProblem(std::u32string_view name) {
    if (name.empty())
        return "the picture needs a name";
    if (name.size() > 8)
        return "a name has at most 8 characters";
    if (!letter(name[0]))
        return "a name starts with a letter";
    for (char32_t c : name) {
        if (!letter(c) && !(c >= U'0' && c <= U'9'))
            return "a name holds letters and digits only";
    }
    return {};
}

void addTi85Formats(std::vector<FormatDescriptor>& formats) {
    FormatDescriptor ti85{};
    ti85.id = FormatId::Ti85;
    ti85.extension = "85i";
    ti85.signature = "**TI85**";
    ti85.calculators = "TI-85";
    ti85.program = Program::Dotwell;
    ti85.family = Family::Ti85;
    ti85.picture = {kTi85Columns, kTi85Rows};
    ti85.screen = {kTi85Columns, 64};
    ti85.graph = {kTi85Columns - 1, kTi85Rows};
    ti85.largest = {kTi85Columns, kTi85Rows};
    ti85.mimeType = "application/x-ti85-picture";
    ti85.openEntry = {5, "TI-85 Pictures|*.85i"};
    ti85.saveEntry = {7, "TI-85 Pictures (*.85i)|*.85i"};
    ti85.read = readTi85;
    ti85.write = writeTi85;
    ti85.examine = examineTi85;
    FormatDescriptor ti86 = ti85;
    ti86.id = FormatId::Ti86;
    ti86.extension = "86i";
    ti86.signature = "**TI86**";
    ti86.calculators = "TI-86";
    ti86.mimeType = "application/x-ti86-picture";
    ti86.openEntry = {6, "TI-86 Pictures|*.86i"};
    ti86.saveEntry = {8, "TI-86 Pictures (*.86i)|*.86i"};
    formats.push_back(ti85);
    formats.push_back(ti86);
}

} // namespace core
