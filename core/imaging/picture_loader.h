// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QImage>
#include <QString>

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

// Opaque and red, green and blue all 0. Outside the picture, or a palette index past the
// colour table, is never black.
bool isExactlyBlack(const QImage& image, int x, int y);

} // namespace core
