// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstddef>
#include <cstdint>

namespace core {

// The colour calculators' files: a .8ci holds one picture variable (Pic1..Pic0), a .8ca one
// background image (Image1..Image0). Both are the .8xi container with a 13-byte variable
// header; little-endian words.
//
//   0  8  "**TI83F*"                   60  2  name: 60 PIC number (.8ci), 3C image number
//   8  3  1A 0A 00                                (.8ca): Pic1 / Image1 is 00, Pic0 is 09
//  11 42  comment, NUL-terminated      62  6  zeros
//  53  2  data length: 55 to checksum  68  1  version: 0A (.8ci), 00 (.8ca)
//  55  2  variable header length, 13   69  1  80 archived, 00 RAM
//  57  2  variable data length         70  2  variable data length again
//  59  1  type: 07 picture, 1A image   72  2  size: 21945 (.8ci), 22245 (.8ca)
//
//   .8ci from 74: 165 rows of 133 bytes, top row first, two cells a byte, the left one in
//        the high nibble: 266 palette indexes a row (the graph shows 265).
//   .8ca at 74: 81, then from 75: 83 rows of 268 bytes, BOTTOM row first, each 133 RGB565
//        pixels and one padding pixel.
//   then 2 checksum: the sum of the bytes from 55 to it.
//
// An 11-byte variable header (no version and flag, the rest two bytes lower) is read too.
inline constexpr int kTi84CePictureRows = 165;
inline constexpr int kTi84CePictureColumns = 266;
inline constexpr size_t kTi84CePictureSize = 165 * 133; // 21945
inline constexpr int kTi84CeImageRows = 83;
inline constexpr int kTi84CeImageColumns = 133;
inline constexpr size_t kTi84CeImageRowBytes = 2 * (133 + 1);
inline constexpr size_t kTi84CeImageSize = 1 + 83 * kTi84CeImageRowBytes; // 22245, with the 81
inline constexpr std::uint8_t kTi84CeImageMark = 0x81;
inline constexpr std::uint8_t kTi84CePictureType = 0x07;
inline constexpr std::uint8_t kTi84CeImageType = 0x1A;

} // namespace core
