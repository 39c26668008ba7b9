// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/imaging/picture_loader.h"

#include <cstdint>

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include "core/imaging/file_io.h"
#include "core/imaging/icon_reader.h"
#include "core/imaging/wmf_player.h"

namespace core {
namespace {

// A BMP compressed with RLE4 or RLE8: Qt's reader leaves the pixels a delta skips untouched.
bool isRleBitmap(QIODevice* device) {
    const QByteArray head = device->peek(34);
    if (head.size() < 34 || !head.startsWith("BM"))
        return false;
    const auto compression = std::uint8_t(head[30]);
    return (compression == 1 || compression == 2) && head[31] == 0 && head[32] == 0 &&
           head[33] == 0;
}

// Bytes an image of this size and format takes, in whole MiB, rounded up.
qint64 imageMegabytes(QSize size, QImage::Format format) {
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const qint64 rowBytes = (qint64(size.width()) * (depth > 0 ? depth : 32) + 31) / 32 * 4;
    return (rowBytes * size.height() + (1 << 20) - 1) >> 20;
}

// Qt's readers recognise the kind by content, whatever the file is called. Memory follows
// the part of the picture the scan can reach where the reader can cut it out while decoding;
// otherwise a picture larger than Qt's allocation limit is refused before anything is
// allocated for it, however small the file that declares it.
LoadedPicture readWithQt(QIODevice* device, QSize reach) {
    if (auto icon = readIconPicture(device))
        return {*icon, icon->size(), {}};
    const bool rle = isRleBitmap(device);
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    LoadedPicture picture;
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    if (size.isValid() && reader.supportsOption(QImageIOHandler::ClipRect)) {
        reader.setClipRect(QRect(QPoint(0, 0), size.boundedTo(reach)));
    } else if (size.isValid() && reader.allocationLimit() > 0 &&
               imageMegabytes(size, format) > reader.allocationLimit()) {
        picture.error = QStringLiteral("The picture is %1 x %2 pixels, too large to read.")
                            .arg(size.width())
                            .arg(size.height());
        return picture;
    }
    QImage image;
    if (rle && size.isValid() && format != QImage::Format_Invalid) {
        // Decode into an image filled beforehand with what can never count as black.
        image = QImage(size, format);
        if (format == QImage::Format_Indexed8)
            image.fill(255u); // an index past any shorter colour table
        else if (format == QImage::Format_Mono || format == QImage::Format_MonoLSB)
            image.fill(0u);
        else
            image.fill(Qt::white);
    }
    if (!reader.read(&image))
        image = QImage();
    picture.image = image;
    picture.size = size.isValid() ? size : image.size();
    if (image.isNull())
        picture.error = reader.errorString().isEmpty() ? QStringLiteral("Invalid picture")
                                                       : reader.errorString();
    return picture;
}

} // namespace

bool isExactlyBlack(const QImage& image, int x, int y) {
    if (!image.valid(x, y))
        return false;
    QRgb colour;
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
        image.format() == QImage::Format_MonoLSB) {
        const int index = image.pixelIndex(x, y);
        if (index < 0 || index >= image.colorCount())
            return false;
        colour = image.color(index);
    } else {
        colour = image.pixel(x, y);
    }
    return qAlpha(colour) == 255 && qRed(colour) == 0 && qGreen(colour) == 0 && qBlue(colour) == 0;
}

LoadedPicture loadPictureData(const QByteArray& data, QSize reach) {
    if (looksLikeWmf(data)) {
        LoadedPicture picture;
        picture.image = renderWmf(data, reach, &picture.error, &picture.size);
        return picture;
    }
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return readWithQt(&buffer, reach);
}

LoadedPicture loadPicture(const QString& path, QSize reach) {
    QString error;
    const std::unique_ptr<QFile> file = openRegularFile(path, &error);
    if (!file)
        return {QImage(), QSize(), error};
    if (looksLikeWmf(file->peek(64)))
        return loadPictureData(file->readAll(), reach);
    return readWithQt(file.get(), reach);
}

} // namespace core
