// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// The .85i (TI-85) and .86i (TI-86) file of one picture variable: 128 x 63 cells under a name
// of up to eight characters. Little-endian words; the .85i stores the name as long as it is,
// the .86i pads it with blanks to eight.
//
//   0  8  "**TI85**" / "**TI86**"    55  2  variable header length: 4 + name length (.85i),
//   8  3  1A 0C 00 / 1A 0A 00               12 (.86i)
//  11 42  comment, NUL-padded         57  2  variable data length, 1010
//  53  2  data length: the bytes      59  1  type 11 (picture)
//         from 55 to the checksum     60  1  name length, 1..8
//                                      61  n  name (.86i: padded with blanks to 8)
//   then: 2 variable data length again, 2 picture size 1008, 1008 bytes (63 rows x 16, the
//   leftmost pixel in bit 7), 2 checksum: the sum of the bytes from 55 to it.
inline constexpr int kTi85Rows = 63;
inline constexpr int kTi85Columns = 128;
inline constexpr size_t kTi85PictureSize = 1008;
inline constexpr std::uint8_t kTi85PictureType = 0x11;
inline constexpr std::string_view kTi85DefaultName = "Pic";

// A TI-85/86 variable name: 1..8 letters and, after the first, digits. Empty when it is one,
// else why not, for a message.
std::string ti85NameProblem(std::u32string_view name);

} // namespace core
