// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/format_id.h"

namespace core {

// What `calcpic info` says of one calculator file: what the editor would read from it, its
// checksum, and every oddity the reader passes over.
struct FileReport {
    FormatId format{};
    int width = 0; // of the picture read
    int height = 0;
    std::optional<int> storedHeight; // 68k family: the fields as stored
    std::optional<int> storedWidth;
    std::optional<int> picNumber; // TI-82/83 family: 1..9, 0 as the user says it
    std::u32string folder;        // 68k family
    std::u32string name;
    std::u32string comment;
    std::optional<bool> archived; // .8xi and the 68k family
    std::optional<int> attribute; // the 68k family: byte 73
    size_t missingBytes = 0;      // the reader takes that many bytes past the file's end as spaces
    std::optional<std::uint16_t> storedChecksum; // none when the file ends before it
    std::uint16_t computedChecksum = 0;
    std::vector<std::string> notes;

    bool checksumOk() const { return storedChecksum && *storedChecksum == computedChecksum; }
};

// "0A", "C81E": upper-case hexadecimal, `digits` wide.
std::string hexText(unsigned value, int digits = 2);

// The head of a file as its reader sees it: a byte past the end reads as `missing` (the
// TI-82/83 reader's spaces). The one place a checksum is summed.
struct FileBytes {
    std::string_view data;
    std::uint8_t at(size_t i, std::uint8_t missing = 0x20) const {
        return i < data.size() ? std::uint8_t(data[i]) : missing;
    }
    unsigned le16(size_t i, std::uint8_t missing = 0x20) const {
        return at(i, missing) | unsigned(at(i + 1, missing)) << 8;
    }
    unsigned be16(size_t i, std::uint8_t missing = 0x20) const {
        return unsigned(at(i, missing)) << 8 | at(i + 1, missing);
    }
    unsigned le32(size_t i, std::uint8_t missing = 0x20) const {
        return le16(i, missing) | le16(i + 2, missing) << 16;
    }
    std::uint16_t sum(size_t from, size_t to) const;
    std::optional<std::uint16_t> storedLe16(size_t i) const {
        if (data.size() < i + 2)
            return std::nullopt;
        return std::uint16_t(le16(i));
    }
    std::string hex(size_t from, size_t count) const; // "1A 0A"
};

// The notes of a report, worded alike for every format.
class Notes {
public:
    explicit Notes(std::vector<std::string>& notes) : m_notes(notes) {}
    void add(std::string note) { m_notes.push_back(std::move(note)); }
    void wordIs(unsigned value, unsigned expected, std::string_view what);
    // The file does not start with the signature a file of this extension has.
    void signature(const FileBytes& b, std::string_view expected, std::string_view extension);
    void trailing(std::uint64_t fileSize, size_t read);

private:
    std::vector<std::string>& m_notes;
};

} // namespace core
