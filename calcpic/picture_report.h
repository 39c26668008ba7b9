// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calcpic/picture_formats.h"

namespace calcpic {

// What `calcpic info` says of one calculator file: what the editor would read from it, its
// checksum, and every oddity the reader passes over.
struct PictureReport {
    Format format = Format::Ti83;
    int width = 0; // of the picture read
    int height = 0;
    std::optional<int> storedHeight; // TI-92 family: the fields as stored
    std::optional<int> storedWidth;
    std::optional<int> picNumber; // TI-82/83 family: 1..9, 0 as the user says it
    std::u32string folder;        // TI-92 family
    std::u32string name;
    std::u32string comment;
    std::optional<bool> archived; // .8xi and the TI-92 family
    std::optional<int> attribute; // the TI-92 family: byte 73
    size_t missingBytes = 0;      // the reader takes that many bytes past the file's end as spaces
    std::optional<std::uint16_t> storedChecksum; // none when the file ends before it
    std::uint16_t computedChecksum = 0;
    std::vector<std::string> notes;

    bool checksumOk() const { return storedChecksum && *storedChecksum == computedChecksum; }
};

// "0A", "C81E": upper-case hexadecimal, `digits` wide.
std::string hexText(unsigned value, int digits = 2);

// The report on a file of this format (`bytes` is its head, `fileSize` its whole size), or
// the reason it cannot be read at all.
std::optional<PictureReport> inspect(std::string_view bytes, std::uint64_t fileSize, Format format,
                                     std::string* error);

} // namespace calcpic
