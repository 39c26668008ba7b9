// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/imaging/picture_writer.h"

#include <algorithm>

#include <QBuffer>
#include <QImageWriter>

#include "core/imaging/file_io.h"

namespace core {

QImage gridImage(const PixelGrid& grid, int zoom) {
    zoom = std::max(1, zoom);
    QImage image(grid.columns() * zoom, grid.rows() * zoom, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)}); // index 1 is a dark pixel
    image.fill(0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (grid.at(y / zoom, x / zoom) == 1)
                image.setPixel(x, y, 1);
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
