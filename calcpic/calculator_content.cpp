// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "calcpic/calculator_content.h"

#include "calcpic/picture_report.h"
#include "core/model/codepage.h"
#include "dotwell/ti83plus_picture_file.h"
#include "pixvane/ti92_names.h"
#include "pixvane/ti92_picture_file.h"

namespace calcpic {
namespace {

std::u32string ascii(std::string_view text) {
    return {text.begin(), text.end()};
}

// The name of a file of this format, for the functions that decide the layout by the name.
std::string nameFor(Format format) {
    return "picture." + std::string(infoOf(format).extension);
}

// The editor's message for a .8xi it cannot open, and what is wrong with the file.
std::string invalid8xiReason(std::string_view bytes) {
    const std::string message = "Invalid File Format!";
    const auto read = dotwell::readTi83PlusFile(bytes);
    if (bytes.empty() || !std::holds_alternative<dotwell::Ti83PlusError>(read))
        return message;
    auto at = [&](size_t i) { return unsigned(std::uint8_t(bytes[i])); };
    switch (std::get<dotwell::Ti83PlusError>(read)) {
    case dotwell::Ti83PlusError::TooShort: {
        if (bytes.size() < 59)
            return message + " The file is " + std::to_string(bytes.size()) +
                   (bytes.size() == 1 ? " byte" : " bytes") +
                   ", too short for even the header of a .8xi file.";
        const size_t full =
            at(55) == 11 ? dotwell::kTi83PlusFileSize - 2 : dotwell::kTi83PlusFileSize;
        return message + " The file is " + std::to_string(bytes.size()) +
               " bytes; a .8xi picture takes " + std::to_string(full) + ".";
    }
    case dotwell::Ti83PlusError::HeaderLength:
        return message + " Its variable header length (bytes 55-56) is " +
               std::to_string(at(55) | at(56) << 8) + ", not 11 or 13.";
    case dotwell::Ti83PlusError::Type:
        return message + " Its type byte (59) is " + hexText(at(59)) +
               ", not 07: it holds no picture.";
    }
    return message;
}

} // namespace

std::string messageLine(std::u32string text) {
    std::erase(text, U'\r');
    return core::toUtf8(text);
}

CalculatorContent newContent(Family family) {
    CalculatorContent content;
    content.family = family;
    content.grid = core::PixelGrid(rowsOf(family), columnsOf(family));
    content.pictureRows = rowsOf(family);
    content.pictureColumns = columnsOf(family);
    if (family == Family::Ti92) {
        content.comment = pixvane::kDefaultComment;
        content.folder = ascii(pixvane::kDefaultFolder);
        content.variable = ascii(pixvane::kDefaultVariable);
    } else {
        content.comment = dotwell::kDefaultComment;
    }
    return content;
}

std::variant<CalculatorContent, std::string> readContent(std::string_view bytes, Format format) {
    CalculatorContent content = newContent(familyOf(format));
    if (content.family == Family::Ti83) {
        const auto opened = dotwell::openPictureBytes(bytes, nameFor(format));
        if (const auto* error = std::get_if<dotwell::OpenError>(&opened)) {
            switch (*error) {
            case dotwell::OpenError::Invalid8xi:
                return invalid8xiReason(bytes);
            case dotwell::OpenError::TooShort:
                return std::string("too short to hold a TI-82/83 picture; it may be damaged");
            case dotwell::OpenError::BadPicNumber:
                return "not a TI-82/83 picture: its PIC number byte is " +
                       std::to_string(
                           std::uint8_t(bytes[dotwell::PicFileBuffer::kPicNumberOffset])) +
                       ", not 0 to 9";
            }
        }
        content.buffer = std::get<dotwell::OpenedPicture>(opened).buffer;
        content.archived = std::get<dotwell::OpenedPicture>(opened).archived;
        // A fresh editor has Pic1 chosen; choosing another re-applies the header template.
        if (content.buffer.picNumber() != 0)
            content.buffer.applyTemplate(content.buffer.picNumber());
        content.buffer.decodePicture(content.grid);
        content.comment = core::untilNul(content.buffer.commentField());
        return content;
    }
    const auto read = pixvane::readPicFile(bytes, content.grid);
    if (std::holds_alternative<pixvane::Ti92ReadError>(read))
        return std::string("too short to hold the picture it describes; it may be damaged");
    const pixvane::Ti92Picture& picture = std::get<pixvane::Ti92Picture>(read);
    const pixvane::Ti92Texts& texts = picture.texts;
    content.pictureRows = picture.height;
    content.pictureColumns = picture.width;
    content.attribute = picture.attribute;
    content.comment = pixvane::withoutPadding(texts.comment);
    content.folder = pixvane::decodeTi92(texts.folder);
    content.variable = pixvane::decodeTi92(texts.variable);
    return content;
}

void setVariable(CalculatorContent& content, const Variable& variable) {
    if (content.family == Family::Ti83) {
        if (variable.picNumber) {
            const int byte = (*variable.picNumber + 9) % 10; // Pic1 is 0, Pic0 is 9
            if (byte != content.buffer.picNumber())
                content.buffer.applyTemplate(byte);
        }
        return;
    }
    if (variable.folder)
        content.folder = *variable.folder;
    if (variable.name)
        content.variable = *variable.name;
}

std::variant<std::vector<std::uint8_t>, std::string> writeContent(CalculatorContent content,
                                                                  Format format) {
    const std::string name = nameFor(format);
    if (content.family == Family::Ti83) {
        if (format == Format::Ti82 && content.buffer.picNumber() >= 6)
            return std::string("OOPS! TI-82 PIC variable must be 1..6");
        return dotwell::savedPictureBytes(content.buffer, name, content.comment, content.grid,
                                          content.archived);
    }
    for (const auto& [text, kind] : {std::pair{&content.variable, pixvane::NameKind::Variable},
                                     std::pair{&content.folder, pixvane::NameKind::Folder}}) {
        const pixvane::NameVerdict verdict = pixvane::checkName(*text, kind);
        if (!verdict.ok)
            return messageLine(verdict.title + U" " + verdict.message);
    }
    const auto folder = pixvane::encodeTi92(content.folder);
    const auto variable = pixvane::encodeTi92(content.variable);
    // The comment box takes at most 40 characters.
    const std::string comment = content.comment.substr(0, 40);
    const pixvane::PicFileBuffer file =
        pixvane::buildPicFile(content.grid, {*folder, *variable, comment},
                              pixvane::signatureFor(name), content.attribute);
    return std::vector<std::uint8_t>(file.begin(), file.end());
}

} // namespace calcpic
