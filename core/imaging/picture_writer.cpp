#include "core/imaging/picture_writer.h"

#include <QBuffer>
#include <QImageWriter>

#include "core/imaging/file_io.h"

namespace core {

QString writePicture(const QImage& image, const QString& path, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        return writer.errorString();
    return writeFileAtomically(path, bytes);
}

} // namespace core
