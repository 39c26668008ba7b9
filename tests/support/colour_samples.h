// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>
#include <vector>

#include "core/formats/ti84ce_picture_file.h"
#include "core/model/pixel_grid.h"

// Colour pictures and their variable data, made here without the format unit, for libtifiles
// to write into files of its own making.
namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

// Every palette index in every column parity and row, the 266th column included.
inline core::PixelGrid paletteSample() {
    core::PixelGrid g(core::kTi84CePictureRows, core::kTi84CePictureColumns);
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.columns(); ++c)
            g.set(r, c, std::int16_t((r * 7 + c * 3 + r * c) % 16));
    return g;
}

// The RGB565 corners at the picture's corners, every other value spread over the rest.
inline core::PixelGrid rgbSample() {
    core::PixelGrid g(core::kTi84CeImageRows, core::kTi84CeImageColumns);
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.columns(); ++c)
            g.set(r, c, std::int16_t((r * 733 + c * 4099 + r * c * 17) & 0xFFFF));
    g.set(0, 0, std::int16_t(0x0000));
    g.set(0, 132, std::int16_t(0xFFFF));
    g.set(82, 0, std::int16_t(0xF800));
    g.set(82, 132, std::int16_t(0x07E0));
    g.set(41, 66, std::int16_t(0x001F));
    return g;
}

// A .8ci's variable data as the layout describes it, made here without the format unit: the
// size word, then the rows top first, the left cell in the high nibble.
inline Bytes pictureData(const core::PixelGrid& g) {
    Bytes d{0xB9, 0x55}; // 21945
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.columns(); c += 2)
            d.push_back(std::uint8_t(g.at(r, c) << 4 | g.at(r, c + 1)));
    return d;
}

// A .8ca's: the size word, 81, then the rows bottom first, each with its padding pixel.
inline Bytes imageData(const core::PixelGrid& g, std::uint16_t padding) {
    Bytes d{0xE5, 0x56, 0x81}; // 22245
    for (int r = g.rows() - 1; r >= 0; --r) {
        for (int c = 0; c < g.columns(); ++c) {
            const auto v = std::uint16_t(g.at(r, c));
            d.push_back(std::uint8_t(v));
            d.push_back(std::uint8_t(v >> 8));
        }
        const auto pad = std::uint16_t(padding + r);
        d.push_back(std::uint8_t(pad));
        d.push_back(std::uint8_t(pad >> 8));
    }
    return d;
}

} // namespace testing_support
