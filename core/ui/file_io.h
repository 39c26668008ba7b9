#pragma once

#include <QByteArray>
#include <QString>

namespace core {

// Every read and write of a picture file goes through here.

struct FileRead {
    QByteArray bytes;
    qint64 fileSize = 0; // the whole file's size, however much was read
    QString error;       // empty on success
};

// Reads at most `limit` bytes from the start of the file; a huge file is never loaded whole.
FileRead readFileHead(const QString& path, qint64 limit);

// Replaces the file with exactly these bytes, through a temporary file beside it and a
// rename, so a failed write leaves the old file as it was. Returns the error, or empty.
QString writeFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace core
