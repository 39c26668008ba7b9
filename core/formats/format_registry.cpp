// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/formats/format_registry.h"

#include <algorithm>
#include <map>

#include "core/formats/format_units.h"
#include "core/formats/ti68k_names.h"
#include "core/formats/ti85_picture_file.h"
#include "core/formats/ti92_picture_file.h"
#include "core/model/codepage.h"
#include "core/model/file_names.h"

namespace core {
namespace {

const std::vector<FormatDescriptor>& registry() {
    static const std::vector<FormatDescriptor> formats = [] {
        std::vector<FormatDescriptor> all;
        addTi83Formats(all);
        addTi83PlusFormats(all);
        addTi84CeFormats(all);
        addTi85Formats(all);
        addTi92Formats(all);
        // By FormatId, so that formatOf is an index.
        std::sort(all.begin(), all.end(),
                  [](const FormatDescriptor& a, const FormatDescriptor& b) { return a.id < b.id; });
        return all;
    }();
    return formats;
}

std::u32string ascii(std::string_view text) {
    return {text.begin(), text.end()};
}

} // namespace

std::span<const FormatDescriptor> allFormats() {
    return registry();
}

bool editorOpens(const FormatDescriptor& format, Program program) {
    return format.program == program;
}

const FormatDescriptor& formatOf(FormatId id) {
    return registry()[size_t(id)];
}

const FormatDescriptor* formatForName(std::string_view fileName) {
    for (const FormatDescriptor& f : registry()) {
        if (endsWithNoCase(fileName, f.extension))
            return &f;
    }
    return nullptr;
}

const FormatDescriptor* formatForContent(std::string_view bytes) {
    const std::string_view head = bytes.substr(0, 8);
    auto signed_ = [&](const FormatDescriptor& f) {
        return head == f.signature ||
               std::find(f.alsoRead.begin(), f.alsoRead.end(), head) != f.alsoRead.end();
    };
    auto marked = [&](const FormatDescriptor& f) {
        return !f.contentBytes.empty() &&
               std::all_of(f.contentBytes.begin(), f.contentBytes.end(), [&](const auto& b) {
                   return b.first < bytes.size() && std::uint8_t(bytes[b.first]) == b.second;
               });
    };
    for (const FormatDescriptor& f : registry()) {
        if (signed_(f) && marked(f))
            return &f;
    }
    for (const FormatDescriptor& f : registry()) {
        if (signed_(f) && f.contentBytes.empty())
            return &f;
    }
    return nullptr;
}

CalculatorPicture newPicture(FormatId format) {
    const FormatDescriptor& f = formatOf(format);
    CalculatorPicture picture;
    picture.format = format;
    picture.family = f.family;
    const PictureSize size = f.picture;
    picture.grid = PixelGrid(size.rows, size.columns);
    picture.pictureRows = size.rows;
    picture.pictureColumns = size.columns;
    if (f.cells == CellKind::Rgb565) // a new background image is white, as the graph screen
        for (int r = 0; r < size.rows; ++r)
            std::fill_n(picture.grid.row(r), size.columns, std::int16_t(0xFFFF));
    if (f.family == Family::Ti85) {
        picture.comment = kTi83DefaultComment;
        picture.variable = ascii(kTi85DefaultName);
    } else if (f.family == Family::Ti92) {
        picture.comment = kTi92DefaultComment;
        picture.folder = ascii(kTi92DefaultFolder);
        picture.variable = ascii(kTi92DefaultVariable);
    } else {
        picture.comment = kTi83DefaultComment;
    }
    return picture;
}

std::variant<CalculatorPicture, ReadError> readPicture(std::string_view bytes, FormatId format) {
    return formatOf(format).read(bytes, format);
}

std::variant<std::vector<std::uint8_t>, std::string> writePicture(CalculatorPicture& picture,
                                                                  FormatId format) {
    return formatOf(format).write(picture, format);
}

std::variant<FileReport, std::string> examinePicture(std::string_view bytes, std::uint64_t fileSize,
                                                     FormatId format) {
    const auto read = readPicture(bytes, format);
    if (const auto* error = std::get_if<ReadError>(&read))
        return error->reason;
    const CalculatorPicture& picture = std::get<CalculatorPicture>(read);
    FileReport report;
    report.format = format;
    report.width = picture.pictureColumns;
    report.height = picture.pictureRows;
    report.comment = decodeWindows1252(picture.comment);
    formatOf(format).examine(bytes, fileSize, picture, report);
    return report;
}

PictureSize savedSize(const FormatDescriptor& format, PictureSize current) {
    if (format.family != Family::Ti92)
        return format.picture;
    return {std::min(current.columns, format.largest.columns),
            std::min(current.rows, format.largest.rows)};
}

std::string variableName(const CalculatorPicture& picture) {
    if (picture.family == Family::Ti83)
        return std::string(formatOf(picture.format).variablePrefix) +
               std::to_string(picNumberOfByte(picture.buffer.picNumber()));
    if (picture.family == Family::Ti85)
        return toUtf8(picture.variable);
    return toUtf8(picture.folder + U"\\" + picture.variable);
}

int picByte(int picNumber) {
    return (picNumber + 9) % 10;
}

int picNumberOfByte(int byte) {
    return (byte + 1) % 10;
}

bool picAllowed(const FormatDescriptor& format, int byte) {
    return byte >= 0 && byte < format.picNumbers;
}

std::optional<int> seriesPicNumber(const FormatDescriptor& format, int index) {
    if (!picAllowed(format, index))
        return std::nullopt;
    return picNumberOfByte(index);
}

std::string dialogFilter(Program program, bool save, std::span<const FilterEntry> extra) {
    std::map<int, std::string_view> entries;
    for (const FilterEntry& e : extra)
        entries.emplace(e.position, e.text);
    for (const FormatDescriptor& f : registry()) {
        if (editorOpens(f, program)) {
            const FilterEntry& e = save ? f.saveEntry : f.openEntry;
            entries.emplace(e.position, e.text); // the first format of a shared entry names it
        }
    }
    std::string filter;
    for (const auto& [position, text] : entries) {
        if (!filter.empty())
            filter += '|';
        filter += text;
    }
    return filter;
}

void setVariable(CalculatorPicture& picture, const Variable& variable) {
    if (picture.family == Family::Ti83) {
        if (variable.picNumber) {
            const int byte = picByte(*variable.picNumber);
            if (byte != picture.buffer.picNumber())
                picture.buffer.applyTemplate(byte);
        }
        return;
    }
    if (variable.folder)
        picture.folder = *variable.folder;
    if (variable.name)
        picture.variable = *variable.name;
}

} // namespace core
