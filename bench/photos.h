// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <algorithm>
#include <cmath>

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QString>

namespace bench {

struct PhotoSize {
    const char* name;
    int width, height;
};

// A camera's sizes, 3:2.
inline constexpr PhotoSize kPhotoSizes[] = {
    {"10 MP", 3872, 2592}, {"24 MP", 6000, 4000}, {"50 MP", 8688, 5792}, {"100 MP", 12288, 8192}};

// A photo-like picture that does not compress to nothing, saved as a baseline JPEG, quality
// 90.
inline void writePhoto(const QString& path, const PhotoSize& size) {
    QImage image(size.width, size.height, QImage::Format_RGB32);
    const int w = size.width, h = size.height;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb((x * 255 / w + y) & 0xFF, (y * 255 / h) & 0xFF, (x ^ y) & 0xFF);
    }
    QPainter p(&image);
    p.setBrush(Qt::black);
    p.drawEllipse(QPoint(w / 3, h / 2), h / 4, h / 4);
    p.end();
    image.save(path, "JPEG", 90);
}

// The floor of reading a photo for a grid: decoded reduced to what Fill needs (the libjpeg
// DCT does most of it), then scaled once to what Fit shows; `decoded`, when given, keeps the
// reduced decode.
inline QImage reducedDecodeAndScale(const QString& path, QSize grid, QImage* decoded = nullptr) {
    QImageReader reader(path);
    const QSize full = reader.size();
    const double w = full.width(), h = full.height();
    const double fill = std::max(grid.width() / w, grid.height() / h);
    const double fit = std::min(grid.width() / w, grid.height() / h);
    reader.setScaledSize(QSize(int(std::lround(w * fill)), int(std::lround(h * fill))));
    const QImage read = reader.read();
    if (decoded)
        *decoded = read;
    return read.scaled(QSize(int(std::lround(w * fit)), int(std::lround(h * fit))),
                       Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace bench
