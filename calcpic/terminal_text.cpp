// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "calcpic/terminal_text.h"

#include <cstdint>
#include <cstdio>

namespace calcpic {
namespace {

std::string escaped(std::uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", byte);
    return text;
}

// The length of the well-formed UTF-8 sequence at the start of `s`, 0 when it is not one
// (an overlong form, a surrogate or a code point past U+10FFFF is not).
size_t sequenceLength(std::string_view s, char32_t* code) {
    const auto b0 = std::uint8_t(s[0]);
    size_t length = b0 < 0x80                  ? 1
                    : b0 >= 0xC2 && b0 <= 0xDF ? 2
                    : b0 >= 0xE0 && b0 <= 0xEF ? 3
                    : b0 >= 0xF0 && b0 <= 0xF4 ? 4
                                               : 0;
    if (length == 0 || s.size() < length)
        return 0;
    char32_t c = length == 1 ? b0 : b0 & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto b = std::uint8_t(s[i]);
        if ((b & 0xC0) != 0x80)
            return 0;
        c = c << 6 | (b & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return 0;
    *code = c;
    return length;
}

} // namespace

std::string shownText(std::string_view bytes) {
    std::string out;
    while (!bytes.empty()) {
        char32_t c = 0;
        const size_t length = sequenceLength(bytes, &c);
        if (length == 0) {
            out += escaped(std::uint8_t(bytes[0]));
            bytes.remove_prefix(1);
            continue;
        }
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            out += escaped(std::uint8_t(c));
        else
            out += bytes.substr(0, length);
        bytes.remove_prefix(length);
    }
    return out;
}

std::string oneLine(std::string_view message) {
    std::string out;
    bool pendingBreak = false;
    for (char c : message) {
        if (c == '\n' || c == '\r') {
            pendingBreak = !out.empty();
            continue;
        }
        if (pendingBreak) {
            const char last = out.back();
            if (last != ' ')
                out += last == '.' || last == '!' || last == '?' || last == ':' ? " " : ". ";
            pendingBreak = false;
        }
        out += c;
    }
    return out;
}

} // namespace calcpic
