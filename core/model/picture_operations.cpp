// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/picture_operations.h"

#include <array>

#include "core/model/colour_conversion.h"

namespace core {

std::string_view operationLabel(PictureOperation operation) {
    switch (operation) {
    case PictureOperation::Invert:
        return "Invert";
    case PictureOperation::FlipHorizontal:
        return "Flip Horizontal";
    case PictureOperation::FlipVertical:
        return "Flip Vertical";
    case PictureOperation::Rotate180:
        return "Rotate 180 Degrees";
    case PictureOperation::ShiftLeft:
        return "Shift Left";
    case PictureOperation::ShiftRight:
        return "Shift Right";
    case PictureOperation::ShiftUp:
        return "Shift Up";
    case PictureOperation::ShiftDown:
        return "Shift Down";
    }
    return {};
}

int invertedPaletteIndex(int index) {
    static const auto table = [] {
        std::array<int, kCePalette.size()> inverted{};
        for (size_t i = 1; i < inverted.size(); ++i) {
            const Rgb complement = paletteRgb(int(i)) ^ 0xFFFFFF;
            inverted[i] = nearestPaletteIndex(int(complement >> 16), int(complement >> 8 & 0xFF),
                                              int(complement & 0xFF));
        }
        return inverted; // none stays none
    }();
    return index >= 0 && index < int(table.size()) ? table[size_t(index)] : index;
}

namespace {

std::int16_t inverted(std::int16_t cell, CellKind kind) {
    switch (kind) {
    case CellKind::Monochrome:
        return cell == 1 ? 0 : 1;
    case CellKind::Palette:
        return std::int16_t(invertedPaletteIndex(cell));
    case CellKind::Rgb565:
        return std::int16_t(~cell); // 31 - red, 63 - green, 31 - blue
    }
    return cell;
}

} // namespace

PixelGrid transformed(const PixelGrid& cells, PictureOperation operation, CellKind kind) {
    const int rows = cells.rows(), columns = cells.columns();
    PixelGrid out(rows, columns, paperOf(kind));
    // Where each cell of the result comes from; off the source means paper.
    auto from = [&](auto source) {
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const auto [sr, sc] = source(r, c);
                if (cells.contains(sr, sc))
                    out.set(r, c, cells.at(sr, sc));
            }
    };
    using Cell = std::pair<int, int>;
    switch (operation) {
    case PictureOperation::Invert:
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                out.set(r, c, inverted(cells.at(r, c), kind));
        break;
    case PictureOperation::FlipHorizontal:
        from([&](int r, int c) { return Cell{r, columns - 1 - c}; });
        break;
    case PictureOperation::FlipVertical:
        from([&](int r, int c) { return Cell{rows - 1 - r, c}; });
        break;
    case PictureOperation::Rotate180:
        from([&](int r, int c) { return Cell{rows - 1 - r, columns - 1 - c}; });
        break;
    case PictureOperation::ShiftLeft:
        from([](int r, int c) { return Cell{r, c + 1}; });
        break;
    case PictureOperation::ShiftRight:
        from([](int r, int c) { return Cell{r, c - 1}; });
        break;
    case PictureOperation::ShiftUp:
        from([](int r, int c) { return Cell{r + 1, c}; });
        break;
    case PictureOperation::ShiftDown:
        from([](int r, int c) { return Cell{r - 1, c}; });
        break;
    }
    return out;
}

PixelGrid cellsIn(const PixelGrid& picture, const CellRect& area) {
    PixelGrid out(area.rows, area.columns);
    for (int r = 0; r < area.rows; ++r)
        for (int c = 0; c < area.columns; ++c)
            if (picture.contains(area.top + r, area.left + c))
                out.set(r, c, picture.at(area.top + r, area.left + c));
    return out;
}

void placeCells(PixelGrid& picture, const PixelGrid& cells, int left, int top) {
    for (int r = 0; r < cells.rows(); ++r)
        for (int c = 0; c < cells.columns(); ++c)
            if (picture.contains(top + r, left + c))
                picture.set(top + r, left + c, cells.at(r, c));
}

} // namespace core
