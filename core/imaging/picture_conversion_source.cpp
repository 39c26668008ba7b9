// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/imaging/picture_conversion_source.h"

#include <algorithm>
#include <cmath>

#include <QBuffer>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QTransform>

#include "core/imaging/file_io.h"
#include "core/imaging/picture_frames.h"
#include "core/imaging/picture_loader.h"
#include "core/model/calculator_profile.h"

namespace core {
namespace {

// How much more resolution than Fill needs the reduced picture keeps. A JPEG's reduced decode
// averages blocks of pixels, and scaling that again to exactly what Fill needs blurs fine
// detail (fine rings came out up to 11 greys off the whole picture scaled once); twice Fill
// keeps them within 3, and a photo of 10 MP or more is still decoded at 1/8 for the 96 x 63
// and 240 x 103 screens, as for Fill alone.
constexpr double kReserve = 2;

// The picture as 32-bit pixels with their alpha: RGB32's is always opaque, so it is taken as
// it is rather than copied.
QImage pixelsOf(const QImage& image) {
    const QImage::Format format = image.format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
               ? image
               : image.convertToFormat(QImage::Format_ARGB32);
}

// The cells of `image` placed with its top-left corner at `at` (grid coordinates), each
// pixel as `cell` makes it; cells it does not cover keep `none`.
template <class Cells, class Cell>
Cells placed(const QImage& image, QPoint at, QSize grid, typename Cells::value_type none,
             Cell cell) {
    Cells cells(size_t(grid.width() * grid.height()), none);
    const QImage pixels = pixelsOf(image);
    for (int y = 0; y < pixels.height(); ++y) {
        const int row = y + at.y();
        if (row < 0 || row >= grid.height())
            continue;
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const int column = x + at.x();
            if (column < 0 || column >= grid.width())
                continue;
            cells[size_t(row * grid.width() + column)] = cell(line[x]);
        }
    }
    return cells;
}

GreyCells place(const QImage& image, QPoint at, QSize grid) {
    GreyCells cells;
    cells.rows = grid.height();
    cells.columns = grid.width();
    cells.grey =
        placed<std::vector<std::int16_t>>(image, at, grid, GreyCells::kNoPicture, [](QRgb p) {
            return std::int16_t(greyOf(qRed(p), qGreen(p), qBlue(p), qAlpha(p)));
        });
    return cells;
}

ColourCells placeColour(const QImage& image, QPoint at, QSize grid) {
    ColourCells cells;
    cells.rows = grid.height();
    cells.columns = grid.width();
    // RGB32's alpha byte is opaque; ARGB32 is not premultiplied.
    cells.argb = placed<std::vector<std::uint32_t>>(image, at, grid, 0u, [](QRgb p) { return p; });
    return cells;
}

QSize rounded(double w, double h) {
    return QSize(std::max(1, int(std::lround(w))), std::max(1, int(std::lround(h))));
}

// A photo's orientation as Qt's reader applies it: mirrored and flipped first, then turned a
// quarter clockwise.
QImage upright(const QImage& image, QImageIOHandler::Transformations turn) {
    if (image.isNull())
        return image;
    QImage out = image.mirrored(turn & QImageIOHandler::TransformationMirror,
                                turn & QImageIOHandler::TransformationFlip);
    if (turn & QImageIOHandler::TransformationRotate90)
        out = out.transformed(QTransform().rotate(90));
    return out;
}

// The rectangle of the stored picture (`stored` as the file holds it) that shows, upright, as
// `shown`: the orientation undone, the quarter turn first.
QRect storedRect(QRect shown, QSize stored, QImageIOHandler::Transformations turn) {
    const bool quarter = turn & QImageIOHandler::TransformationRotate90;
    const int w = stored.width(), h = stored.height();
    auto back = [&](QPoint p) {
        // A quarter turn clockwise takes (x, y) of a w x h picture to (h - 1 - y, x).
        QPoint q = quarter ? QPoint(p.y(), h - 1 - p.x()) : p;
        if (turn & QImageIOHandler::TransformationMirror)
            q.setX(w - 1 - q.x());
        if (turn & QImageIOHandler::TransformationFlip)
            q.setY(h - 1 - q.y());
        return q;
    };
    const QPoint a = back(shown.topLeft()), b = back(shown.bottomRight());
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

// The grid-sized middle of a picture as it is.
QImage middleOf(const QImage& image, QSize grid) {
    return image.copy(QRect(QPoint(std::max(0, (image.width() - grid.width()) / 2),
                                   std::max(0, (image.height() - grid.height()) / 2)),
                            grid.boundedTo(image.size())));
}

// Decodes only the stored rectangle that shows as the middle, at full size, and turns it
// upright; null when it cannot be read.
QImage readMiddle(QIODevice* device, qint64 start, QRect stored,
                  QImageIOHandler::Transformations turn) {
    if (!device->seek(start))
        return {};
    QImageReader reader(device);
    findFormatByContent(reader, device->peek(8));
    reader.setAutoTransform(false); // the stored rectangle, turned here
    reader.setClipRect(stored);
    return upright(reader.read(), turn);
}

} // namespace

FullSizeMiddle::FullSizeMiddle(const QImage& image)
    : m_size(image.size()), m_pixels(std::make_shared<Pixels>(Pixels{{}, image})) {}

FullSizeMiddle::FullSizeMiddle(QSize size, std::function<QImage()> decode)
    : m_size(size), m_pixels(std::make_shared<Pixels>(Pixels{std::move(decode), {}})) {}

QImage FullSizeMiddle::image() const {
    if (!m_pixels)
        return {};
    if (m_pixels->decode)
        m_pixels->image = std::exchange(m_pixels->decode, nullptr)();
    return m_pixels->image;
}

ConversionSource::ConversionSource(const QImage& picture, QSize grid)
    : ConversionSource(PictureToConvert{picture, {}, picture.size()}, grid) {}

ConversionSource::ConversionSource(const PictureToConvert& picture, QSize grid)
    : m_grid(grid), m_original(picture.size), m_middle(picture.centre) {
    if (picture.isNull())
        return;
    const QImage& image = picture.picture;
    const double w = m_original.width(), h = m_original.height();
    // The finest any mode needs is Fill's; keep a reserve of it.
    const double fill = std::max(grid.width() / w, grid.height() / h);
    const double factor = std::min(1.0, kReserve * fill);
    const QSize reduced = factor < 1 ? rounded(w * factor, h * factor) : m_original;
    // A picture read reduced is already that size, or as near as its reader could come.
    m_reduced =
        pixelsOf(image.width() <= reduced.width() && image.height() <= reduced.height()
                     ? image
                     : image.scaled(reduced, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    // From the picture as it is; a reduced one's full-size middle waits for Actual size.
    if (m_middle.isNull())
        m_centre = pixelsOf(middleOf(image, grid));
}

QImage ConversionSource::thumbnail(QSize box) const {
    if (m_reduced.isNull())
        return {};
    QImage out(m_reduced.size().scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)),
               QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter(&out).drawImage(
        out.rect(), m_reduced.scaled(out.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return out;
}

ConversionSource::Placement ConversionSource::placement(ScaleMode mode) const {
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
        return {m_reduced.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                centred(size)};
    }
    case ScaleMode::Stretch:
        return {m_reduced.scaled(m_grid, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                QPoint(0, 0)};
    case ScaleMode::ActualSize:
        if (m_centre.isNull()) {
            m_centre = pixelsOf(m_middle.image());
            if (m_centre.isNull()) // the file could not give it after all: a reduced middle
                m_centre = middleOf(m_reduced, m_grid);
        }
        // The middle of a larger picture; a smaller one centred, the rest clear.
        return {m_centre, centred(m_original.boundedTo(m_grid))};
    }
    return {};
}

GreyCells ConversionSource::cells(ScaleMode mode) const {
    const Placement p = placement(mode);
    return place(p.image, p.at, m_grid);
}

ColourCells ConversionSource::colourCells(ScaleMode mode) const {
    const Placement p = placement(mode);
    return placeColour(p.image, p.at, m_grid);
}

PixelGrid convertPicture(const QImage& picture, QSize grid, ScaleMode mode,
                         const ConversionOptions& options) {
    return convertCells(ConversionSource(picture, grid).cells(mode), options);
}

namespace {

// Opens the same file or bytes again, for the middle; empty for a device that cannot be.
using Reopen = std::function<std::unique_ptr<QIODevice>()>;

PictureToConvert readPicture(QIODevice* device, QSize grid, QString* error, const Reopen& reopen) {
    // A GIF's first frame as a viewer shows it: where the frame does not reach, transparent.
    if (device->peek(4) == "GIF8") {
        PictureFrames frames(device->readAll());
        QImage first;
        int delay = 0;
        if (!frames.next(&first, &delay)) {
            *error = frames.error().isEmpty() ? QStringLiteral("Not a picture Qt can read")
                                              : frames.error();
            return {};
        }
        return {first, {}, first.size()};
    }
    const qint64 start = device->pos();
    const qint64 limit = QImageReader::allocationLimit();
    const qint64 jpegMegabytes = jpegCoefficientMegabytes(device); // before a reader moves on
    QImageReader reader(device);
    findFormatByContent(reader, device->peek(8));
    reader.setAutoTransform(true); // a photo's orientation, as viewers show it
    const QSize stored = reader.size();
    const QImageIOHandler::Transformations turn = reader.transformation();
    const QSize shown =
        turn & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored;
    auto refuse = [&] {
        *error = tooLargeMessage(shown);
        return PictureToConvert{};
    };
    const bool fitsWhole =
        !stored.isValid() || limit <= 0 || imageMegabytes(stored, reader.imageFormat()) <= limit;
    // What the conversion keeps: twice what Fill needs (see ConversionSource). A JPEG
    // decodes at M/8 of its size (M = 1..8) straight to that, so a photo of any size costs
    // about what its reduced picture does, and one too large to decode whole is decoded as
    // near whole as the limit allows; other readers decode whole first. A progressive JPEG
    // holds the whole picture's coefficients however it is read.
    double factor = 1;
    if (grid.isValid() && stored.isValid())
        factor = std::min(1.0, kReserve * std::max(double(grid.width()) / shown.width(),
                                                   double(grid.height()) / shown.height()));
    const bool reduce = grid.isValid() && stored.isValid() && (factor < 1 || !fitsWhole) &&
                        reader.supportsOption(QImageIOHandler::ScaledSize) &&
                        reader.supportsOption(QImageIOHandler::ClipRect) &&
                        (limit <= 0 || jpegMegabytes <= limit);
    if (!reduce) {
        if (!fitsWhole)
            return refuse();
        const QImage image = reader.read(); // Qt's allocation limit refuses a huge declared size
        if (image.isNull()) {
            *error = reader.errorString().isEmpty() ? QStringLiteral("Not a picture Qt can read")
                                                    : reader.errorString();
            if (device->size() == 0)
                *error = QStringLiteral("The file is empty.");
            return {};
        }
        return {image, {}, image.size()};
    }
    const bool quarter = turn & QImageIOHandler::TransformationRotate90;
    const QSize wanted = rounded(shown.width() * factor, shown.height() * factor);
    // Qt's reader decodes at the least M/8 that reaches the size asked for, in 32-bit pixels:
    // ask for no more than the largest such decode the limit allows.
    auto eighths = [&](int m) {
        return QSize((stored.width() * m + 7) / 8, (stored.height() * m + 7) / 8);
    };
    int m = 8;
    while (m > 0 && limit > 0 && imageMegabytes(eighths(m), QImage::Format_RGB32) > limit)
        --m;
    if (m == 0)
        return refuse();
    QSize asked = quarter ? wanted.transposed() : wanted;
    if (asked.width() >= eighths(m).width() || asked.height() >= eighths(m).height()) {
        // A pixel under M/8, so that rounding never tips the reader into the next eighth.
        asked = QSize(std::max(1, stored.width() * m / 8 - 1),
                      std::max(1, stored.height() * m / 8 - 1));
    }
    reader.setScaledSize(asked);
    PictureToConvert picture{reader.read(), {}, shown};
    if (picture.picture.isNull()) {
        *error = reader.errorString();
        return {};
    }
    const QRect middle(QPoint(std::max(0, (shown.width() - grid.width()) / 2),
                              std::max(0, (shown.height() - grid.height()) / 2)),
                       grid.boundedTo(shown));
    const QRect rect = storedRect(middle, stored, turn);
    // The middle is read again, from the file or the bytes, when Actual size asks for it; from
    // a device that cannot be read again, now.
    if (reopen) {
        picture.centre = FullSizeMiddle(middle.size(), [reopen, start, rect, turn] {
            const std::unique_ptr<QIODevice> again = reopen();
            return again ? readMiddle(again.get(), start, rect, turn) : QImage();
        });
    } else if (const QImage centre = readMiddle(device, start, rect, turn); !centre.isNull()) {
        picture.centre = FullSizeMiddle(centre);
    }
    return picture;
}

} // namespace

PictureToConvert readPictureToConvert(QIODevice* device, QSize grid, QString* error) {
    Reopen reopen;
    if (auto* buffer = qobject_cast<QBuffer*>(device)) {
        reopen = [bytes = buffer->data()]() -> std::unique_ptr<QIODevice> {
            auto again = std::make_unique<QBuffer>();
            again->setData(bytes);
            again->open(QIODevice::ReadOnly);
            return again;
        };
    }
    return readPicture(device, grid, error, reopen);
}

PictureToConvert readPictureToConvert(const QString& path, QSize grid, QString* error) {
    const std::unique_ptr<QFile> file = openRegularFile(path, error);
    if (!file)
        return {};
    return readPicture(file.get(), grid, error, [path]() -> std::unique_ptr<QIODevice> {
        QString ignored;
        return openRegularFile(path, &ignored);
    });
}

QImage readPictureToConvert(const QString& path, QString* error) {
    const CalculatorProfile& largest = CalculatorProfile::pixvane();
    return readPictureToConvert(path, QSize(largest.columns, largest.rows), error).picture;
}

PictureToConvert readClipboardPicture(const QMimeData* data, QSize grid, QString* error) {
    *error = QStringLiteral("The clipboard holds no picture.");
    if (!data)
        return {};
    const QList<QByteArray> readable = QImageReader::supportedMimeTypes();
    for (const QString& format : data->formats()) {
        if (!readable.contains(format.toLatin1()))
            continue;
        QBuffer buffer;
        buffer.setData(data->data(format));
        buffer.open(QIODevice::ReadOnly);
        PictureToConvert picture = readPictureToConvert(&buffer, grid, error);
        if (!picture.isNull() || error->startsWith(QStringLiteral("The picture is")))
            return picture; // read, or too large in every form it is offered in
    }
    if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (!image.isNull())
            return {image, {}, image.size()};
    }
    return {};
}

QString convertibleFilter() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QStringLiteral("Pictures|") + patterns.join(';') + QStringLiteral("|All Files|*.*");
}

} // namespace core
