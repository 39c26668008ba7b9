// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/formats/ti68k_names.h"

#include <array>

#include "core/model/codepage.h"

namespace core {
namespace {

// α β Γ γ Δ δ ε ζ θ λ ξ Π π ρ Σ σ τ φ ψ Ω ω at 0x80..0x94.
constexpr std::array<char32_t, 21> kGreek{
    U'\u03B1', U'\u03B2', U'\u0393', U'\u03B3', U'\u0394', U'\u03B4', U'\u03B5',
    U'\u03B6', U'\u03B8', U'\u03BB', U'\u03BE', U'\u03A0', U'\u03C0', U'\u03C1',
    U'\u03A3', U'\u03C3', U'\u03C4', U'\u03C6', U'\u03C8', U'\u03A9', U'\u03C9'};

// The calculator code of a character, or -1 when it has none.
int ti92Code(char32_t c) {
    if (c < 0x80)
        return int(c);
    for (size_t i = 0; i < kGreek.size(); ++i) {
        if (kGreek[i] == c)
            return int(0x80 + i);
    }
    if (c >= 0x95 && c <= 0xFF)
        return int(c); // the rest of the byte range reads and writes back as Latin-1
    return -1;
}

} // namespace

std::u32string decodeTi92(std::string_view bytes) {
    std::u32string text;
    for (char b : bytes) {
        const auto code = static_cast<unsigned char>(b);
        text += code >= 0x80 && code <= 0x94 ? kGreek[code - 0x80] : char32_t(code);
    }
    return text;
}

std::optional<std::string> encodeTi92(std::u32string_view text) {
    std::string bytes;
    for (char32_t c : text) {
        const int code = ti92Code(c);
        if (code < 0)
            return std::nullopt;
        bytes += static_cast<char>(code);
    }
    return bytes;
}

NameVerdict checkName(std::u32string_view name, NameKind kind) {
    const bool variable = kind == NameKind::Variable;
    const std::u32string what = variable ? U"Pic Var Name" : U"Folder Name";
    NameVerdict verdict;
    verdict.title = variable ? U"Pic Var ERROR!" : U"Folder Name ERROR!";
    auto fail = [&](std::u32string message) {
        verdict.ok = false;
        verdict.message = std::move(message);
        return verdict;
    };
    if (name.empty())
        return fail(what + U" missing.");
    if (name[0] >= U'0' && name[0] <= U'9')
        return fail(U"First character of " + what + U" can't be digit.");
    for (size_t i = 0; i < name.size(); ++i) {
        const int code = ti92Code(name[i]);
        const bool letter = (code >= 65 && code <= 90) || (code >= 97 && code <= 122) ||
                            (code >= 128 && code <= 148);
        const bool digit = i > 0 && code >= 48 && code <= 57;
        if (!letter && !digit)
            return fail(U"Invalid character \rin " + what + U": <" + std::u32string(1, name[i]) +
                        U">");
    }
    return verdict;
}

std::string messageLine(std::u32string text) {
    std::erase(text, U'\r');
    return toUtf8(text);
}

} // namespace core
