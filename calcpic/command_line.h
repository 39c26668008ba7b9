// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calcpic/picture_formats.h"
#include "core/model/picture_conversion.h"

namespace calcpic {

enum class Scale { Fit, Fill, Stretch, None };

// What the command line asks for, checked as far as it can be without the files.
struct Request {
    enum class Command { Help, Version, Info, Convert, Thumbnail } command = Command::Help;
    std::vector<std::string> inputs;
    bool json = false;
    // convert
    std::string output;    // -o
    std::string directory; // -d
    std::optional<Format> to;
    Scale scale = Scale::Fit;
    core::ConversionOptions conversion;
    bool autoThreshold = false; // Otsu's in place of conversion.threshold
    bool levelsGiven = false;   // --levels; colour keeps its levels unless asked
    bool transparent = false;   // white cells of a palette picture become none
    int zoom = 1;
    std::optional<int> pic;
    bool picAuto = false; // --pic auto: a batch numbered Pic1, Pic2 ... Pic9, Pic0
    std::optional<std::u32string> folder;
    std::optional<std::u32string> name;
    std::optional<std::string> comment; // Windows-1252 bytes
    bool force = false;
    // thumbnail: the one input and `output`
    int thumbnailSize = 128;    // -s
    bool acceptDamaged = false; // convert a calculator file that is short or fails its checksum

    Format format() const { return *to; } // set for every checked Convert request
};

struct UsageError {
    std::string message;
};

std::variant<Request, UsageError> parseCommandLine(const std::vector<std::string>& arguments);

// The three lines of usage, the whole --help text, and the manual page: all from one table.
std::string usageText();
std::string helpText();
std::string manPage(std::string_view version, std::string_view date); // date: 2026-12-08
std::string versionText(std::string_view version);

} // namespace calcpic
