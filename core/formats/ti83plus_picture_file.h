// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

#include "core/formats/ti83_picture_file.h"

namespace core {

// The .8xi file of one TI-83 Plus / TI-84 Plus picture variable: the .83i picture, comment
// and PIC number in the newer Graph-Link layout. Little-endian words.
//
//   0  8  "**TI83F*"                   60  8  name: 60, PIC number, six zeros
//   8  3  1A 0A 00 (byte 10: any        68  1  version, 00        } only with a 13-byte
//         owner on reading, 00 written) 69  1  80 archived, 00 RAM } variable header
//  11 42  comment, as in .83i           70  2  variable data length again, 758
//  53  2  data length, 775              72  2  picture size, 756
//  55  2  variable header length, 13    74 756 the picture, as in .83i
//  57  2  variable data length, 758    830  2  checksum: sum of bytes 55..829
//  59  1  type 7 (picture)
//
// A variable header of 11 bytes (no version and flag, everything after two bytes lower,
// 830 bytes in all) is read too; the 13-byte form is written.
inline constexpr size_t kTi83PlusFileSize = 832;

struct Ti83PlusPicture {
    PicFileBuffer buffer;   // the picture, comment and PIC number as a .83i image holds them
    std::uint8_t owner = 0; // byte 10
    int variableHeaderLength = 13;
    bool archived = false;
};

enum class Ti83PlusError { TooShort, HeaderLength, Type };

std::variant<Ti83PlusPicture, Ti83PlusError> readTi83PlusFile(std::string_view bytes);

// The .8xi file of a completed buffer (comment, PIC number and picture in place).
std::array<std::uint8_t, kTi83PlusFileSize> buildTi83PlusFile(const PicFileBuffer& buffer,
                                                              bool archived);

} // namespace core
