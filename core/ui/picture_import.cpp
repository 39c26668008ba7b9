#include "core/ui/picture_import.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include "core/ui/wmf_player.h"

namespace core {
namespace {

// Qt's BMP reader leaves pixels that an RLE delta skips untouched: decode into an image filled
// beforehand with a colour that can never count as black.
QImage readPrefilled(QImageReader& reader) {
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    QImage image;
    if (size.isValid() && format != QImage::Format_Invalid) {
        image = QImage(size, format);
        if (!image.isNull()) {
            if (format == QImage::Format_Indexed8)
                image.fill(255u); // an index past any shorter colour table
            else if (format == QImage::Format_Mono || format == QImage::Format_MonoLSB)
                image.fill(0u);
            else
                image.fill(Qt::white);
        }
    }
    if (!reader.read(&image))
        return {};
    return image;
}

// Qt's readers recognise the kind by content, whatever the file is called.
LoadedPicture readWithQt(QIODevice* device) {
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    LoadedPicture picture;
    picture.image = readPrefilled(reader);
    picture.size = picture.image.size();
    if (picture.image.isNull())
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
    return readWithQt(&buffer);
}

LoadedPicture loadPicture(const QString& path, QSize reach) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QImage(), QSize(), file.errorString()};
    if (looksLikeWmf(file.peek(64)))
        return loadPictureData(file.readAll(), reach);
    return readWithQt(&file);
}

} // namespace core
