// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/canvas_overlay.h"

#include <algorithm>

#include <QPainter>

namespace core {
namespace {

// Grid lines a little darker than the screen colour: seen between cells, never taken for one.
constexpr QRgb kGridColour = 0xFFB4BEA4;
// Below this many pixels per cell the lines would cover the cells.
constexpr int kSmallestGridZoom = 3;

QRect cellPixels(const CellRect& rect, int zoom) {
    return {rect.left * zoom, rect.top * zoom, rect.columns * zoom, rect.rows * zoom};
}

} // namespace

QRect CanvasOverlay::outlinePixels(const CellRect& rect, int zoom) {
    return cellPixels(rect, zoom).adjusted(-1, -1, 1, 1);
}

void CanvasOverlay::paint(QPainter& painter, const QRect& area, int zoom) const {
    const int square = std::max(1, int(cellFill * zoom)); // as the canvas fills a dark cell
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (grid && zoom >= kSmallestGridZoom) {
        // Each line on the last pixel column or row of a cell: in the gap beside a dark
        // square, never over it.
        painter.setPen(QPen(QColor::fromRgb(kGridColour), 0));
        const int firstColumn = std::max(0, area.left() / zoom);
        const int lastColumn = area.right() / zoom;
        const int firstRow = std::max(0, area.top() / zoom);
        const int lastRow = area.bottom() / zoom;
        for (int c = firstColumn; c <= lastColumn; ++c) {
            const int x = c * zoom + zoom - 1;
            painter.drawLine(x, area.top(), x, area.bottom());
        }
        for (int r = firstRow; r <= lastRow; ++r) {
            const int y = r * zoom + zoom - 1;
            painter.drawLine(area.left(), y, area.right(), y);
        }
    }
    if (!textCells.empty()) {
        const QColor ink = QColor::fromRgb(textColour);
        for (const auto& [column, row] : textCells)
            painter.fillRect(column * zoom, row * zoom, square, square, ink);
    }
    if (caret) {
        const QRect pixels = cellPixels(*caret, zoom);
        painter.fillRect(QRect(pixels.left(), pixels.top(), std::max(1, zoom / 4), pixels.height()),
                         QColor(0x30, 0x60, 0xC0));
    }
    if (cursor) {
        // Two squares, dark and light, so the cursor shows over dark cells and clear ones.
        const QRect pixels = cellPixels({cursor->first, cursor->second, 1, 1}, zoom);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0xC0, 0x20, 0x20), 0));
        painter.drawRect(pixels.adjusted(0, 0, -1, -1));
        if (zoom >= 4) {
            painter.setPen(QPen(Qt::white, 0));
            painter.drawRect(pixels.adjusted(1, 1, -2, -2));
        }
    }
    if (outline) {
        // Marching ants: black dashes over white, shifted by the phase.
        const QRect pixels = cellPixels(*outline, zoom).adjusted(0, 0, -1, -1);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 0));
        painter.drawRect(pixels);
        QPen dashes(Qt::black, 0, Qt::CustomDashLine);
        dashes.setDashPattern({4, 4});
        dashes.setDashOffset(antsPhase % 8);
        painter.setPen(dashes);
        painter.drawRect(pixels);
    }
    painter.restore();
}

} // namespace core
