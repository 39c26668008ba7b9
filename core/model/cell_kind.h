// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>

#include "core/model/format_id.h"

namespace core {

// What a grid's 16-bit cells mean: 1 dark and 0 clear; an index into the colour calculators'
// palette (0 none); or an RGB565 colour, its bits as the cell's.
enum class CellKind { Monochrome, Palette, Rgb565 };

// The cells a format's pictures hold. The registry's descriptors say the same (a test holds
// them together); the model needs it without the registry.
constexpr CellKind cellKindOf(FormatId format) {
    switch (format) {
    case FormatId::Ti84CePicture:
        return CellKind::Palette;
    case FormatId::Ti84CeImage:
        return CellKind::Rgb565;
    default:
        return CellKind::Monochrome;
    }
}

// What a clear cell holds, and what the white tools leave: 0 (clear, or a palette's none),
// or white for an RGB565 image, which has no none.
constexpr std::int16_t paperOf(CellKind kind) {
    return kind == CellKind::Rgb565 ? std::int16_t(-1) : std::int16_t(0); // 0xFFFF
}

// The part of a cell's square its colour covers: a monochrome screen's pixels have gaps
// between them, which the canvas shows; a colour screen's do not, and gaps would pale its
// colours.
constexpr double cellFillOf(CellKind kind, double monochromeFill) {
    return kind == CellKind::Monochrome ? monochromeFill : 1.0;
}

// The ink a document starts with: dark, the palette's black, RGB565 black.
constexpr std::int16_t defaultInkOf(CellKind kind) {
    switch (kind) {
    case CellKind::Monochrome:
        return 1;
    case CellKind::Palette:
        return 3;
    case CellKind::Rgb565:
        return 0x0000;
    }
    return 1;
}

} // namespace core
