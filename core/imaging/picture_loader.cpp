// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/imaging/picture_loader.h"

#include <algorithm>
#include <array>
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

// Qt's readers recognise the kind by content, whatever the file is called. Memory follows
// the part of the picture the scan can reach where the reader can cut it out while decoding;
// otherwise a picture larger than Qt's allocation limit is refused before anything is
// allocated for it, however small the file that declares it.
LoadedPicture readWithQt(QIODevice* device, QSize reach) {
    if (auto icon = readIconPicture(device))
        return {*icon, icon->size(), {}};
    const bool rle = isRleBitmap(device);
    const qint64 jpegMegabytes = jpegCoefficientMegabytes(device); // before a reader moves on
    QImageReader reader(device);
    findFormatByContent(reader, device->peek(8));
    LoadedPicture picture;
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    const qint64 limit = reader.allocationLimit();
    if (size.isValid() && limit > 0 && jpegMegabytes > limit) {
        picture.error = tooLargeMessage(size); // a clip rectangle would not spare the memory
        return picture;
    }
    if (size.isValid() && reader.supportsOption(QImageIOHandler::ClipRect)) {
        reader.setClipRect(QRect(QPoint(0, 0), size.boundedTo(reach)));
    } else if (size.isValid() && limit > 0 && imageMegabytes(size, format) > limit) {
        picture.error = tooLargeMessage(size);
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

qint64 imageMegabytes(QSize size, QImage::Format format) {
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const qint64 rowBytes = (qint64(size.width()) * (depth > 0 ? depth : 32) + 31) / 32 * 4;
    return (rowBytes * size.height() + (1 << 20) - 1) >> 20;
}

namespace {

// jpegCoefficientMegabytes of a file that starts with `head`; `truncated` says whether the
// markers went on past its end before the first scan.
qint64 coefficientMegabytes(const QByteArray& head, bool* truncated) {
    // The markers up to the first scan: a start of frame gives the size and the components
    // with their sampling, the start of scan how many components its scan holds.
    *truncated = false;
    auto byte = [&](qsizetype i) { return i < head.size() ? int(std::uint8_t(head[i])) : -1; };
    auto word = [&](qsizetype i) {
        return byte(i) < 0 || byte(i + 1) < 0 ? -1 : byte(i) << 8 | byte(i + 1);
    };
    if (byte(0) != 0xFF || byte(1) != 0xD8)
        return 0;
    qsizetype at = 2;
    bool wholeImage = false;
    int width = 0, height = 0, components = 0;
    std::array<std::pair<int, int>, 4> sampling{}; // horizontal and vertical, per component
    while (true) {
        if (at + 4 > head.size()) {
            *truncated = true;
            break;
        }
        if (byte(at) != 0xFF)
            return 0; // not a marker where one belongs: leave the file to the reader
        const int marker = byte(at + 1);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        const int length = word(at + 2);
        if (length < 2)
            return 0;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if ((frame || marker == 0xDA) && at + 2 + length > head.size()) {
            *truncated = true; // a segment read below goes on past the bytes looked at
            break;
        }
        if (frame) {
            // Baseline and extended sequential (C0, C1, C9) are decoded row by row.
            wholeImage = marker != 0xC0 && marker != 0xC1 && marker != 0xC9;
            height = word(at + 5);
            width = word(at + 7);
            components = byte(at + 9);
            if (height <= 0 || width <= 0 || components < 1 || components > 4)
                return 0;
            for (int c = 0; c < components; ++c) {
                const int factors = byte(at + 11 + 3 * c);
                if (factors < 0)
                    return 0;
                sampling[size_t(c)] = {std::max(1, factors >> 4), std::max(1, factors & 0x0F)};
            }
        } else if (marker == 0xDA) { // start of scan
            if (components == 0)
                return 0;
            wholeImage = wholeImage || byte(at + 4) < components; // one scan per component
            break;
        }
        at += 2 + length;
    }
    if (!wholeImage || components == 0)
        return 0;
    int maxH = 1, maxV = 1;
    for (int c = 0; c < components; ++c) {
        maxH = std::max(maxH, sampling[size_t(c)].first);
        maxV = std::max(maxV, sampling[size_t(c)].second);
    }
    // Per component, blocks of 8 x 8 coefficients of two bytes, over whole MCUs.
    const qint64 mcuColumns = (width + 8 * maxH - 1) / (8 * maxH);
    const qint64 mcuRows = (height + 8 * maxV - 1) / (8 * maxV);
    qint64 bytes = 0;
    for (int c = 0; c < components; ++c)
        bytes +=
            mcuColumns * sampling[size_t(c)].first * mcuRows * sampling[size_t(c)].second * 64 * 2;
    return (bytes + (1 << 20) - 1) >> 20;
}

} // namespace

void findFormatByContent(QImageReader& reader, const QByteArray& head) {
    QByteArray format;
    if (head.startsWith(QByteArrayLiteral("\xFF\xD8\xFF")))
        format = "jpeg";
    else if (head.startsWith(QByteArrayLiteral("\x89PNG\r\n\x1A\n")))
        format = "png";
    reader.setFormat(format);
    reader.setDecideFormatFromContent(format.isEmpty());
    // With a format named, Qt's detection would still load every plugin to look for others
    // that claim it; the content has already decided.
    reader.setAutoDetectImageFormat(format.isEmpty());
}

qint64 jpegCoefficientMegabytes(QIODevice* device) {
    // The markers mostly fit in the first few KiB: the window grows only while they go on
    // past it, up to 1 MiB.
    constexpr qint64 kLongest = 1 << 20;
    if (device->peek(2) != QByteArrayLiteral("\xFF\xD8"))
        return 0; // not a JPEG: nothing to read ahead
    for (qint64 window = 64 << 10;; window *= 4) {
        const QByteArray head = device->peek(std::min(window, kLongest));
        bool truncated = false;
        const qint64 megabytes = coefficientMegabytes(head, &truncated);
        if (!truncated || head.size() < std::min(window, kLongest) || window >= kLongest)
            return megabytes;
    }
}

QString tooLargeMessage(QSize size) {
    return QStringLiteral("The picture is %1 x %2 pixels, too large to read.")
        .arg(size.width())
        .arg(size.height());
}

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
