// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

// The TI-92's own characters for folder and variable names: ASCII, and at 0x80..0x94 the
// Greek letters the calculator offers for names.
std::u32string decodeTi92(std::string_view bytes);
// Empty when a character has no TI-92 byte.
std::optional<std::string> encodeTi92(std::u32string_view text);

enum class NameKind { Variable, Folder };

struct NameVerdict {
    bool ok = true;
    std::u32string title; // message box title when not ok
    std::u32string message;
};

// A name is 1..8 characters of letters (A-Z, a-z, TI-92 codes 128..148) and, after the
// first character, digits.
NameVerdict checkName(std::u32string_view name, NameKind kind);

// The most characters a folder or variable name has: the file holds eight bytes for each.
inline constexpr size_t kLongestName = 8;

// A verdict's message on one line, in UTF-8: its "\r" was a line break in a message box.
std::string messageLine(std::u32string text);

} // namespace core
