// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/formats/file_report.h"

#include <cstdio>

#include "core/formats/byte_sum.h"

namespace core {
namespace {

// A signature as text, with anything unprintable as \xNN.
std::string shown(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        const auto u = std::uint8_t(c);
        out += u >= 0x20 && u < 0x7F ? std::string(1, c) : "\\x" + hexText(u);
    }
    return '"' + out + '"';
}

} // namespace

std::string hexText(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

std::uint16_t FileBytes::sum(size_t from, size_t to) const {
    if (to <= data.size())
        return byteSum16(data.begin() + std::ptrdiff_t(from), data.begin() + std::ptrdiff_t(to));
    unsigned s = byteSum16(data.begin() + std::ptrdiff_t(std::min(from, data.size())), data.end());
    for (size_t i = std::max(from, data.size()); i < to; ++i)
        s += at(i); // the missing bytes as the reader takes them
    return std::uint16_t(s & 0xFFFF);
}

std::string FileBytes::hex(size_t from, size_t count) const {
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        if (i)
            out += ' ';
        out += hexText(at(from + i, 0));
    }
    return out;
}

void Notes::wordIs(unsigned value, unsigned expected, std::string_view what) {
    if (value != expected)
        add(std::string(what) + " is " + std::to_string(value) + ", not " +
            std::to_string(expected));
}

void Notes::signature(const FileBytes& b, std::string_view expected, std::string_view extension) {
    const std::string_view actual = b.data.substr(0, 8);
    if (actual != expected)
        add("its signature is " + shown(actual) + ", not " + shown(expected) + " as a ." +
            std::string(extension) + " file's; the reader does not look at it");
}

void Notes::trailing(std::uint64_t fileSize, size_t read) {
    if (fileSize > read)
        add(std::to_string(fileSize - read) + " bytes after byte " + std::to_string(read) +
            " are not read");
}

} // namespace core
