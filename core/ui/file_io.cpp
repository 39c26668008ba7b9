#include "core/ui/file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace core {

FileRead readFileHead(const QString& path, qint64 limit) {
    FileRead result;
    const QFileInfo info(path);
    if (info.isDir()) {
        result.error = QStringLiteral("It is a folder, not a file.");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    result.fileSize = file.size();
    result.bytes = file.read(limit);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        result.bytes.clear();
    }
    return result;
}

QString writeFileAtomically(const QString& path, const QByteArray& bytes) {
    if (QFileInfo(path).isDir())
        return QStringLiteral("A folder of that name is in the way.");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace core
