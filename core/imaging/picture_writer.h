#pragma once

#include <QImage>
#include <QString>

namespace core {

// Encodes the image in a format Qt writes ("bmp", "png") and replaces the file with it the
// way every picture file is written (see writeFileAtomically). Returns the error, or empty.
QString writePicture(const QImage& image, const QString& path, const char* format);

} // namespace core
