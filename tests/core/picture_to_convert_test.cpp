// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <cmath>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/imaging/picture_conversion_source.h"
#include "core/imaging/picture_loader.h"
#include "tests/support/files.h"
#include "tests/support/peak_memory.h"
#include "tests/support/picture_bytes.h"

namespace {

// Qt's allocation limit, lowered for one test so that a small photo stands for a large one.
class AllocationLimit {
public:
    explicit AllocationLimit(int megabytes) : m_old(QImageReader::allocationLimit()) {
        QImageReader::setAllocationLimit(megabytes);
    }
    ~AllocationLimit() { QImageReader::setAllocationLimit(m_old); }

private:
    int m_old;
};

// A grey photo with detail everywhere: rings around an off-centre point, and a dark bar that
// makes it asymmetric, so that a turned or shifted middle shows.
QImage greyPhoto(int w, int h) {
    QImage image(w, h, QImage::Format_Grayscale8);
    for (int y = 0; y < h; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const int dx = x - w / 3, dy = y - h / 2;
            line[x] = uchar(((dx * dx + dy * dy) / 97) % 256);
        }
    }
    QPainter(&image).fillRect(w / 2, h / 2 - 20, w / 4, 12, Qt::black);
    return image;
}

core::PixelGrid cells(const core::PictureToConvert& picture, QSize grid, core::ScaleMode mode) {
    return core::convertCells(core::ConversionSource(picture, grid).cells(mode),
                              {128, core::Dither::None, false});
}

core::PictureToConvert read(const QByteArray& bytes, QSize grid, QString* error) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return core::readPictureToConvert(&buffer, grid, error);
}

} // namespace

// A photo too large to decode whole within the allocation limit is decoded reduced, to what
// the conversion keeps, and its middle at full size: Actual size gives exactly the cells of
// the whole picture, in every orientation a camera writes; the scaling modes nearly.
TEST(PictureToConvert, APhotoTooLargeToDecodeWholeIsReadReducedWithItsMiddleAtFullSize) {
    // Grey in colour: three components, like a camera's, and no colour to blur at the edges.
    const QByteArray plain =
        testing_support::jpegOf(greyPhoto(1200, 900).convertToFormat(QImage::Format_RGB32), false);
    for (const QSize grid : {QSize(96, 63), QSize(240, 103)}) {
        for (int orientation = 1; orientation <= 8; ++orientation) {
            const QByteArray jpeg = testing_support::jpegWithOrientation(plain, orientation);
            QString error;
            const core::PictureToConvert whole = read(jpeg, QSize(), &error); // all of it
            ASSERT_FALSE(whole.isNull()) << error.toStdString();
            EXPECT_TRUE(whole.centre.isNull());
            const QSize shown = orientation >= 5 ? QSize(900, 1200) : QSize(1200, 900);
            EXPECT_EQ(whole.size, shown) << orientation; // turned upright
            core::PictureToConvert reduced;
            {
                const AllocationLimit limit(4); // 1200 x 900 pixels take 4.1 MiB
                reduced = read(jpeg, grid, &error);
            }
            ASSERT_FALSE(reduced.isNull())
                << error.toStdString() << ", orientation " << orientation;
            EXPECT_EQ(reduced.size, shown);
            const double fill = std::max(double(grid.width()) / shown.width(),
                                         double(grid.height()) / shown.height());
            // Twice what Fill needs, or as near as the limit allows the decoder.
            const QSize wanted = shown * (2 * fill);
            EXPECT_LE(reduced.picture.width(), wanted.width()) << orientation;
            EXPECT_GE(reduced.picture.width(), wanted.width() * 3 / 4) << orientation;
            EXPECT_EQ(reduced.centre.size(), grid);
            const std::string what = "grid " + std::to_string(grid.width()) + ", orientation " +
                                     std::to_string(orientation);
            EXPECT_EQ(cells(reduced, grid, core::ScaleMode::ActualSize),
                      cells(whole, grid, core::ScaleMode::ActualSize))
                << what;
            // The scaling modes from a picture reduced by the decoder rather than by area
            // averaging: the same greys but for a little resampling.
            for (core::ScaleMode mode :
                 {core::ScaleMode::Fit, core::ScaleMode::Fill, core::ScaleMode::Stretch}) {
                const core::GreyCells a = core::ConversionSource(reduced, grid).cells(mode);
                const core::GreyCells b = core::ConversionSource(whole, grid).cells(mode);
                double sum = 0;
                for (size_t i = 0; i < a.grey.size(); ++i)
                    sum += std::abs(a.grey[i] - b.grey[i]);
                EXPECT_LT(sum / double(a.grey.size()), 4) << what << ", mode " << int(mode);
            }
        }
    }
}

// A photo that would fit whole is read at the size the conversion needs all the same, from a
// file as from bytes: the reduced picture, never the whole one, and its middle at full size
// when Actual size asks for it, giving the whole picture's cells.
TEST(PictureToConvert, APhotoIsReadAtTheSizeTheConversionNeedsEvenWhenItFitsWhole) {
    const QImage photo = greyPhoto(3000, 2000).convertToFormat(QImage::Format_RGB32);
    const QByteArray jpeg = testing_support::jpegOf(photo, false);
    const QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    testing_support::writeAll(path, jpeg);
    const QSize grid(96, 63);
    QString error;
    const core::PictureToConvert whole = read(jpeg, QSize(), &error);
    ASSERT_EQ(whole.picture.size(), QSize(3000, 2000));
    const long wholeMegabytes = long(whole.picture.sizeInBytes() >> 20);
    testing_support::resetPeak();
    const long before = testing_support::peakMegabytes();
    const core::PictureToConvert fromFile = core::readPictureToConvert(path, grid, &error);
    const long used = testing_support::peakMegabytes() - before;
    const core::PictureToConvert fromBytes = read(jpeg, grid, &error);
    for (const core::PictureToConvert* reduced : {&fromFile, &fromBytes}) {
        ASSERT_FALSE(reduced->isNull()) << error.toStdString();
        EXPECT_EQ(reduced->size, QSize(3000, 2000));
        const double fill = std::max(96.0 / 3000, 63.0 / 2000);
        EXPECT_LE(reduced->picture.width(), int(3000 * 2 * fill));
        EXPECT_GE(reduced->picture.width(), int(3000 * 1.5 * fill));
        EXPECT_EQ(reduced->centre.size(), grid);
        EXPECT_EQ(cells(*reduced, grid, core::ScaleMode::ActualSize),
                  cells(whole, grid, core::ScaleMode::ActualSize));
        const core::GreyCells a =
            core::ConversionSource(*reduced, grid).cells(core::ScaleMode::Fit);
        const core::GreyCells b = core::ConversionSource(whole, grid).cells(core::ScaleMode::Fit);
        double sum = 0;
        for (size_t i = 0; i < a.grey.size(); ++i)
            sum += std::abs(a.grey[i] - b.grey[i]);
        EXPECT_LT(sum / double(a.grey.size()), 4);
    }
    // Nothing near the whole picture's pixels was allocated to read it.
    EXPECT_LT(used, wholeMegabytes / 3) << "whole: " << wholeMegabytes << " MiB";
}

// Where a reduced decode would not help, the size is the reason, and nothing is allocated for
// the picture: a PNG decodes whole, a progressive JPEG keeps every coefficient.
TEST(PictureToConvert, APictureTooLargeEvenReducedSaysItsSizeWithoutTheMemory) {
    const struct {
        QByteArray bytes;
        QSize grid;
        const char* message;
    } cases[]{
        {testing_support::tinyPngDeclaring(25000, 25000), QSize(96, 63),
         "The picture is 25000 x 25000 pixels, too large to read."},
        {testing_support::jpegDeclaring(
             testing_support::jpegOf(greyPhoto(64, 64).convertToFormat(QImage::Format_RGB32), true),
             6700, 6700),
         QSize(96, 63), "The picture is 6700 x 6700 pixels, too large to read."},
        // An image written as an image is read whole.
        {testing_support::jpegDeclaring(testing_support::jpegOf(greyPhoto(64, 64), false), 16000,
                                        16000),
         QSize(), "The picture is 16000 x 16000 pixels, too large to read."},
    };
    for (const auto& c : cases) {
        testing_support::resetPeak();
        const long before = testing_support::peakMegabytes();
        QString error;
        EXPECT_TRUE(read(c.bytes, c.grid, &error).isNull());
        EXPECT_EQ(error, c.message);
        EXPECT_LT(testing_support::peakMegabytes() - before, 64) << c.message;
    }
}

// Paste: the clipboard's encoded picture is read as a file is; a reason when there is none.
TEST(PictureToConvert, TheClipboardsPictureIsReadBoundedOrRefusedWithAReason) {
    const QImage photo = greyPhoto(1600, 1200);
    const QSize grid(96, 63);
    QString error;
    {
        const AllocationLimit limit(4);
        QMimeData jpeg;
        jpeg.setData("image/jpeg",
                     testing_support::jpegOf(photo.convertToFormat(QImage::Format_RGB32), false));
        const core::PictureToConvert picture = core::readClipboardPicture(&jpeg, grid, &error);
        ASSERT_FALSE(picture.isNull()) << error.toStdString();
        EXPECT_EQ(picture.size, QSize(1600, 1200));
        EXPECT_EQ(picture.centre.size(), grid);
    }
    QMimeData huge;
    huge.setData("image/png", testing_support::tinyPngDeclaring(25000, 25000));
    EXPECT_TRUE(core::readClipboardPicture(&huge, grid, &error).isNull());
    EXPECT_EQ(error, "The picture is 25000 x 25000 pixels, too large to read.");

    QMimeData decoded;
    decoded.setImageData(photo.copy(0, 0, 50, 40));
    EXPECT_EQ(core::readClipboardPicture(&decoded, grid, &error).size, QSize(50, 40));

    QMimeData text;
    text.setText("no picture here");
    EXPECT_TRUE(core::readClipboardPicture(&text, grid, &error).isNull());
    EXPECT_EQ(error, "The clipboard holds no picture.");
}

// A GIF is read as a viewer shows its first frame: where the frame does not reach, the
// picture is transparent and converts to clear cells, not to the background colour Qt's
// reader paints there.
TEST(PictureToConvert, AGifsFirstFrameIsWhatAViewerShows) {
    testing_support::GifFrame corner;
    corner.width = 2;
    corner.height = 2;
    corner.indices = {1, 1, 1, 1};
    // Palette: white, black, red, grey; the background is grey.
    const QByteArray gif =
        testing_support::gifFile(4, 4, {0xFFFFFF, 0, 0xFF0000, 0x808080}, 3, {corner});
    QByteArray bytes = gif;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QString error;
    const core::PictureToConvert picture = core::readPictureToConvert(&buffer, QSize(4, 4), &error);
    ASSERT_FALSE(picture.isNull()) << error.toStdString();
    EXPECT_EQ(picture.size, QSize(4, 4));
    EXPECT_EQ(picture.picture.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(qAlpha(picture.picture.pixel(3, 3)), 0);
    const core::GreyCells cells =
        core::ConversionSource(picture, QSize(4, 4)).cells(core::ScaleMode::ActualSize);
    EXPECT_EQ(cells.at(0, 0), 0);
    EXPECT_EQ(cells.at(3, 3), 255); // transparent over white
    // A GIF cut before its first frame ends is refused with a reason.
    QByteArray cut = gif.left(gif.size() - 4);
    QBuffer cutBuffer(&cut);
    cutBuffer.open(QIODevice::ReadOnly);
    EXPECT_TRUE(core::readPictureToConvert(&cutBuffer, QSize(4, 4), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

// The kind is the content's, whatever the file is called; data that starts as a JPEG but is not
// one is refused with a reason, by the reader the content named.
TEST(PictureToConvert, TheContentDecidesTheKindWhateverTheName) {
    const QImage photo = greyPhoto(300, 200).convertToFormat(QImage::Format_RGB32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(photo.save(&buffer, "PNG"));
    const QByteArray jpeg = testing_support::jpegOf(photo, false);
    const QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray bytes;
        bool reads;
    } cases[] = {{"photo.png", jpeg, true},
                 {"photo.jpg", png, true},
                 {"photo", jpeg, true},
                 {"photo.jpg", QByteArray("\xFF\xD8\xFF\xE0") + "not a JPEG at all", false},
                 {"photo.png", png.left(40), false}};
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        testing_support::writeAll(path, c.bytes);
        QString error;
        const core::PictureToConvert read = core::readPictureToConvert(path, QSize(96, 63), &error);
        EXPECT_EQ(!read.isNull(), c.reads) << c.name;
        EXPECT_EQ(read.size, c.reads ? QSize(300, 200) : QSize()) << c.name;
        EXPECT_EQ(error.isEmpty(), c.reads) << c.name << ": " << error.toStdString();
        const core::LoadedPicture loaded = core::loadPicture(path);
        EXPECT_EQ(loaded.error.isEmpty(), c.reads) << c.name;
    }
}
