// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/imaging/picture_writer.h"

#include <algorithm>
#include <cstring>

#include <QBuffer>
#include <QImageWriter>

#include "core/imaging/file_io.h"

namespace core {

QImage gridImage(const PixelGrid& grid, int zoom) {
    zoom = std::max(1, zoom);
    QImage image(grid.columns() * zoom, grid.rows() * zoom, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)}); // index 1 is a dark pixel
    image.fill(0);
    // Each row's bits once (Format_Mono: the leftmost pixel in the high bit), then copied to
    // the zoom's other rows: a pixel at a time through setPixel was most of a batch's time.
    // Unzoomed, eight cells make one byte as they are packed.
    const int packed = zoom == 1 ? grid.columns() / 8 : 0;
    for (int r = 0; r < grid.rows(); ++r) {
        uchar* line = image.scanLine(r * zoom);
        for (int j = 0; j < packed; ++j)
            line[j] = grid.packBits(r, 8 * j);
        for (int c = 8 * packed; c < grid.columns(); ++c) {
            if (grid.at(r, c) != 1)
                continue;
            for (int x = c * zoom; x < (c + 1) * zoom; ++x)
                line[x >> 3] |= uchar(0x80 >> (x & 7));
        }
        for (int k = 1; k < zoom; ++k)
            std::memcpy(image.scanLine(r * zoom + k), line, size_t(image.bytesPerLine()));
    }
    return image;
}

QImage gridImage(const PixelGrid& grid, CellKind kind, int zoom) {
    if (kind == CellKind::Monochrome)
        return gridImage(grid, zoom);
    zoom = std::max(1, zoom);
    QImage image(grid.columns() * zoom, grid.rows() * zoom,
                 kind == CellKind::Palette ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const std::int16_t* cells = grid.row(y / zoom);
        for (int x = 0; x < image.width(); ++x)
            line[x] = argbOfCell(cells[x / zoom], kind);
    }
    return image;
}

QString encodePicture(const QImage& image, QByteArray* bytes, const char* format) {
    QBuffer buffer(bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(image) ? QString() : writer.errorString();
}

QString writePicture(const QImage& image, const QString& path, const char* format) {
    QByteArray bytes;
    const QString error = encodePicture(image, &bytes, format);
    return error.isEmpty() ? writeFileAtomically(path, bytes) : error;
}

} // namespace core
