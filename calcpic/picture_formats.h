// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <optional>
#include <string_view>

namespace calcpic {

// The files calcpic reads and writes.
enum class Format { Ti82, Ti83, Ti83Plus, Ti92, Ti92Plus, Voyage200, Png, Bmp };

// Which picture a format holds: the TI-82/83 screen, the TI-92 screen, or any image.
enum class Family { Ti83, Ti92, Image };

struct FormatInfo {
    Format format;
    std::string_view extension; // lower case, no dot: "8xi"
    Family family;
    std::string_view model;     // "TI-83 Plus / TI-84 Plus"; empty for images
    std::string_view signature; // the first eight bytes of the calculator's file
};

const FormatInfo& infoOf(Format format);
Family familyOf(Format format);
bool isCalculator(Format format);

// "8xi", "PNG": the format of that extension, in any letter case.
std::optional<Format> formatNamed(std::string_view extension);
// By the name's last extension: "photo.8XI".
std::optional<Format> formatOfName(std::string_view fileName);
// A calculator file recognised by its signature, for a name that does not say what it is;
// "**TI92P*" is taken for a .9xi.
std::optional<Format> formatOfSignature(std::string_view bytes);

// The calculator whose signature starts a file of a kind calcpic does not read: "TI-86".
std::optional<std::string_view> otherCalculator(std::string_view bytes);

// The rows and columns of a family's screen; 0 for images.
int rowsOf(Family family);
int columnsOf(Family family);

// The longest file the readers look at: a 68k picture, whose size word is 16 bits.
inline constexpr size_t kLongestCalculatorFile = 82 + 4 + 2 + 0xFFFF + 2;

} // namespace calcpic
