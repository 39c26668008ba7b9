// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/imaging/picture_conversion_source.h"

#include <algorithm>
#include <cmath>

#include <QImageReader>

#include "core/imaging/file_io.h"

namespace core {
namespace {

// How much more resolution than a mode needs the reduced picture keeps.
constexpr double kReserve = 4;

QImage argb(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The grey cells of `image` placed with its top-left corner at `at` (grid coordinates);
// cells it does not cover hold no picture.
GreyCells place(const QImage& image, QPoint at, QSize grid) {
    GreyCells cells;
    cells.rows = grid.height();
    cells.columns = grid.width();
    cells.grey.assign(size_t(cells.rows * cells.columns), GreyCells::kNoPicture);
    const QImage pixels = argb(image);
    for (int y = 0; y < pixels.height(); ++y) {
        const int row = y + at.y();
        if (row < 0 || row >= cells.rows)
            continue;
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const int column = x + at.x();
            if (column < 0 || column >= cells.columns)
                continue;
            const QRgb p = line[x];
            cells.grey[size_t(row * cells.columns + column)] =
                greyOf(qRed(p), qGreen(p), qBlue(p), qAlpha(p));
        }
    }
    return cells;
}

QSize rounded(double w, double h) {
    return QSize(std::max(1, int(std::lround(w))), std::max(1, int(std::lround(h))));
}

} // namespace

ConversionSource::ConversionSource(const QImage& picture, QSize grid)
    : m_grid(grid), m_original(picture.size()) {
    if (picture.isNull())
        return;
    const double w = picture.width(), h = picture.height();
    // The finest any mode needs is Fill's; keep a reserve of it.
    const double fill = std::max(grid.width() / w, grid.height() / h);
    const double factor = std::min(1.0, kReserve * fill);
    m_reduced = factor < 1 ? argb(picture.scaled(rounded(w * factor, h * factor),
                                                 Qt::IgnoreAspectRatio, Qt::SmoothTransformation))
                           : argb(picture);
    const QRect middle(QPoint(std::max(0, (picture.width() - grid.width()) / 2),
                              std::max(0, (picture.height() - grid.height()) / 2)),
                       grid.boundedTo(picture.size()));
    m_centre = argb(picture.copy(middle));
}

GreyCells ConversionSource::cells(ScaleMode mode) const {
    const double w = m_original.width(), h = m_original.height();
    const int columns = m_grid.width(), rows = m_grid.height();
    auto centred = [&](QSize size) {
        return QPoint((columns - size.width()) / 2, (rows - size.height()) / 2);
    };
    switch (mode) {
    case ScaleMode::Fit:
    case ScaleMode::Fill: {
        const double s = mode == ScaleMode::Fit ? std::min(columns / w, rows / h)
                                                : std::max(columns / w, rows / h);
        const QSize size = rounded(w * s, h * s);
        return place(m_reduced.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                     centred(size), m_grid);
    }
    case ScaleMode::Stretch:
        return place(m_reduced.scaled(m_grid, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                     QPoint(0, 0), m_grid);
    case ScaleMode::ActualSize:
        // The middle of a larger picture; a smaller one centred, the rest clear.
        return place(m_centre, centred(m_original.boundedTo(m_grid)), m_grid);
    }
    return {};
}

PixelGrid convertPicture(const QImage& picture, QSize grid, ScaleMode mode,
                         const ConversionOptions& options) {
    return convertCells(ConversionSource(picture, grid).cells(mode), options);
}

QImage readPictureToConvert(const QString& path, QString* error) {
    const std::unique_ptr<QFile> file = openRegularFile(path, error);
    if (!file)
        return {};
    QImageReader reader(file.get());
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);      // a photo's orientation, as viewers show it
    const QImage image = reader.read(); // Qt's allocation limit refuses a huge declared size
    if (image.isNull()) {
        *error = reader.errorString().isEmpty() ? QStringLiteral("Not a picture Qt can read")
                                                : reader.errorString();
        if (file->size() == 0)
            *error = QStringLiteral("The file is empty.");
    }
    return image;
}

QString convertibleFilter() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QStringLiteral("Pictures|") + patterns.join(';') + QStringLiteral("|All Files|*.*");
}

} // namespace core
