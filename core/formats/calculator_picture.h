// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/formats/ti83_picture_file.h"
#include "core/model/format_id.h"
#include "core/model/pixel_grid.h"

namespace core {

// What an editor holds of a picture file when it saves: the picture, the texts in its boxes
// and, for the TI-82/83 family, the file image the picture was opened from. The editors and
// calcpic read into it and write from it through the same functions, so a file calcpic
// writes is the file the editor would write.
struct CalculatorPicture {
    FormatId format = FormatId::Ti82;
    Family family = Family::Ti83;
    PixelGrid grid{63, 96};
    // The picture the file held: less than the screen for a small 68k picture, and then
    // placed on a grid of the screen's size; a larger one has a grid of its own size.
    int pictureRows = 63;
    int pictureColumns = 96;
    std::string comment; // Windows-1252 bytes, as the comment box holds them
    // TI-82/83 family: the file image a save completes; its PIC number byte
    PicFileBuffer buffer;
    bool archived = false;
    // 68k family, in Unicode as the name boxes hold them
    std::u32string folder;
    std::u32string variable;
    std::uint8_t attribute = 0; // locked or archived, kept as read
    // .8ca: each stored row's padding pixel, bottom row first, written back as read
    std::vector<std::uint16_t> rowPadding;
};

// A picture's variable, as a user names it.
struct Variable {
    std::optional<int> picNumber; // 1..9, 0: Pic1 .. Pic0
    std::optional<std::u32string> folder;
    std::optional<std::u32string> name;
};

// Puts the variable into the picture the way the editor's PIC buttons and name boxes do: a
// PIC number other than the one chosen re-applies the file image's header template.
void setVariable(CalculatorPicture& picture, const Variable& variable);

} // namespace core
