// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/model/pixel_grid.h"

namespace core {

// The .92i file of one TI-92 picture variable, built whole at each save; a .9xi (TI-92 Plus)
// or .v2i (Voyage 200) differs only in its signature.
//
//    0  8  "**TI92**"                    76  4  file size 3185, LE
//    8  2  01 00                         80  2  A5 5A
//   10  8  folder name, NUL-padded       82  4  00 00 00 00   <- checksum starts here
//   18 40  comment, space-padded         86  2  variable size 3095, BE
//   58  2  one variable, LE              88  2  height 103, BE
//   60  4  data offset 82, LE            90  2  width 239, BE
//   64  8  variable name, NUL-padded     92 3090 103 rows x 30 bytes, leftmost pixel in bit 7
//   72  1  type 0x10 (picture)         3182  1  DF
//   73  1  attribute: 00, 01 locked,   3183  2  checksum of bytes 82..3182, LE
//          03 archived
//   74  2  00 00
//
// A picture of another size (StoPic of a part of the screen, the whole 240 x 128 screen)
// has its own height and width, rows of (width + 7) / 8 bytes, and sizes to match.
struct Ti92Texts {
    std::string folder;   // TI-92 character bytes, at most 8
    std::string variable; // TI-92 character bytes, at most 8
    std::string comment;  // Windows-1252 bytes, at most 40
};

// The texts of a picture that did not come from a file.
inline constexpr std::string_view kTi92DefaultComment = "made with PIXVANE";
inline constexpr std::string_view kTi92DefaultVariable = "picture";
inline constexpr std::string_view kTi92DefaultFolder = "main";

inline constexpr size_t kTi92FileSize = 3185;
inline constexpr size_t kTi92FolderOffset = 10;
inline constexpr size_t kTi92CommentOffset = 18;
inline constexpr size_t kTi92NameOffset = 64;
inline constexpr size_t kTi92VariableOffset = 82; // the variable's data; the checksum's start
inline constexpr size_t kTi92SizeOffset = 86;     // size, height and width: big-endian words
inline constexpr size_t kTi92HeightOffset = 88;
inline constexpr size_t kTi92WidthOffset = 90;
inline constexpr std::uint8_t kTi92PictureType = 0x10;
inline constexpr std::uint8_t kTi92ClosingByte = 0xDF;
inline constexpr int kTi92Rows = 103;
inline constexpr int kTi92Columns = 240;
inline constexpr size_t kTi92PixelOffset = 92;
inline constexpr size_t kTi92RowBytes = 30;
inline constexpr size_t kTi92FullPictureEnd = kTi92PixelOffset + kTi92Rows * kTi92RowBytes;
inline constexpr int kTi92FullVariableSize = 3095; // height, width, pixel rows and DF
static_assert(kTi92FullPictureEnd + 1 + 2 == kTi92FileSize, "pixel rows, DF, checksum");
static_assert(kTi92VariableOffset + 4 + 2 + kTi92FullVariableSize + 2 == kTi92FileSize);

// The longest file any picture makes: its size word is 16 bits.
inline constexpr size_t kTi92LongestFile = kTi92VariableOffset + 4 + 2 + 0xFFFF + 2;
inline constexpr size_t kTi92AttributeOffset = 73;
inline constexpr std::uint8_t kTi92Archived = 0x03;
inline constexpr std::uint8_t kTi92Locked = 0x01;

// 3185 bytes for the 103 x 240 picture the editor draws.
using Ti92FileBytes = std::vector<std::uint8_t>;

// The signature of the TI-92's files, and of the TI-92 Plus's and Voyage 200's (.9xi, .v2i),
// which are laid out the same way.
inline constexpr std::string_view kTi92Signature = "**TI92**";
inline constexpr std::string_view kTi92PlusSignature = "**TI92P*";

// The file of a picture the grid's size. The editor's 103 x 240 picture is written as the
// full screen (width field 239); any other size with its own height and width.
Ti92FileBytes buildTi92File(const PixelGrid& grid, const Ti92Texts& texts,
                            std::string_view signature = kTi92Signature,
                            std::uint8_t attribute = 0);

// A comment field without the blanks that pad it to 40 bytes, which the next save puts back.
// Everything else is the comment's own: leading blanks, a trailing tab or line break.
std::string_view withoutPadding(std::string_view comment);

struct Ti92Picture {
    Ti92Texts texts; // each field up to its first NUL
    int height = kTi92Rows;
    int width = kTi92Columns;
    std::uint8_t attribute = 0; // byte 73: locked or archived, kept by a save
};

enum class Ti92ReadError { TooShort };

// Decodes a .92i file into the grid (cleared first). The content is not checked beyond what
// decoding needs: a full-screen picture always comes from offset 92 as 103 rows of 30 bytes;
// one of another size, whose size word agrees with its height and width and whose rows the
// file holds whole, is placed at the top left, and a grid too small for it takes its size
// (the caller compares the grid's size with the picture's). A file too short for its
// picture changes nothing and is an error.
std::variant<Ti92Picture, Ti92ReadError> readTi92File(std::string_view bytes, PixelGrid& grid);

} // namespace core
