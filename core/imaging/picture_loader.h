// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QImage>
#include <QImageReader>
#include <QString>

class QIODevice;

namespace core {

struct LoadedPicture {
    QImage image;  // for a metafile, only the part within reach
    QSize size;    // the picture's own size in pixels
    QString error; // empty on success
};

// Loads a picture to import: whatever Qt reads (BMP with RLE, ICO, PNG...) and WMF
// metafiles. `reach` is the part of the picture the import can scan: a metafile is rendered
// only that far.
LoadedPicture loadPicture(const QString& path, QSize reach = QSize(512, 512));
LoadedPicture loadPictureData(const QByteArray& data, QSize reach = QSize(512, 512));

// Bytes an image of this size and format takes, in whole MiB, rounded up.
qint64 imageMegabytes(QSize size, QImage::Format format);

// What libjpeg holds for a JPEG it cannot decode row by row, in whole MiB, rounded up: a
// progressive file, or one whose components come in separate scans, keeps the coefficients of
// the whole picture, whatever part or scale of it is read. 0 for a JPEG decoded row by row
// and for anything else. Looks at the device's data without reading it.
qint64 jpegCoefficientMegabytes(QIODevice* device);

// Sets `reader` to find its kind by content, naming the kind at once where the first bytes
// of the data (`head`) leave no doubt (JPEG, PNG). Probing by content loads every image
// plugin and the libraries behind them until one claims the data, which costs a short-lived
// process more than decoding a photo.
void findFormatByContent(QImageReader& reader, const QByteArray& head);

// "The picture is W x H pixels, too large to read."
QString tooLargeMessage(QSize size);

// Opaque and red, green and blue all 0. Outside the picture, or a palette index past the
// colour table, is never black.
bool isExactlyBlack(const QImage& image, int x, int y);

} // namespace core
