// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calcpic/picture_formats.h"
#include "core/model/pixel_grid.h"
#include "dotwell/ti83_picture_file.h"

namespace calcpic {

// What an editor holds when it saves: the picture, the texts in its boxes and, for dotwell,
// the file image the picture was opened from. calcpic reads into it and writes from it with
// the editors' own functions, so a file it writes is the file the editor would write.
struct CalculatorContent {
    Family family = Family::Ti83;
    core::PixelGrid grid{63, 96};
    // The picture the file held: less than the screen for a small TI-92 picture, and then
    // placed on a grid of the screen's size; a larger one has a grid of its own size.
    int pictureRows = 63;
    int pictureColumns = 96;
    std::string comment; // Windows-1252 bytes, as the comment box holds them
    // TI-82/83 family
    dotwell::PicFileBuffer buffer;
    bool archived = false;
    // TI-92 family, in Unicode as the name boxes hold them
    std::u32string folder;
    std::u32string variable;
    std::uint8_t attribute = 0; // locked or archived, kept as read
};

// A fresh editor's content: a clear picture and the program's texts for a new picture.
CalculatorContent newContent(Family family);

// Reads a calculator file of this format as its editor's Open does; the error is the
// editor's reason, for a message.
std::variant<CalculatorContent, std::string> readContent(std::string_view bytes, Format format);

// The variable, as it will be stored.
struct Variable {
    std::optional<int> picNumber; // 1..9, 0: as the user says it (Pic1 .. Pic0)
    std::optional<std::u32string> folder;
    std::optional<std::u32string> name;
};

// Puts the variable into the content the way the editor's PIC buttons and name boxes do.
void setVariable(CalculatorContent& content, const Variable& variable);

// An editor's message on one line, in UTF-8: its "\r" was a line break in a message box.
std::string messageLine(std::u32string text);

// The bytes the editor's Save writes for this format, or the editor's reason for refusing
// (a PIC number the TI-82 lacks, a name the TI-92 refuses, a text it cannot store).
std::variant<std::vector<std::uint8_t>, std::string> writeContent(CalculatorContent content,
                                                                  Format format);

} // namespace calcpic
