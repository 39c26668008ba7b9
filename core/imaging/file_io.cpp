// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/imaging/file_io.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSaveFile>

namespace core {
namespace {

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

const QString kNotRegular = QStringLiteral(
    "It is not a regular file (a named pipe, a socket or a device), so it is not read.");
const QString kFolder = QStringLiteral("It is a folder, not a file.");

// Writes over the file's own bytes from the start, then cuts it to the new length: used
// where a temporary file beside it would lose a hard link or the owner, or cannot be made.
QString writeInPlace(const QByteArray& name, const QByteArray& bytes) {
    const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return systemError(errno);
    QString error;
    qint64 done = 0;
    while (error.isEmpty() && done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), done);
        if (n < 0 && errno != EINTR)
            error = systemError(errno);
        else if (n > 0)
            done += n;
    }
    if (error.isEmpty() && ::ftruncate(fd, bytes.size()) != 0)
        error = systemError(errno);
    if (error.isEmpty() && ::fsync(fd) != 0)
        error = systemError(errno);
    if (::close(fd) != 0 && error.isEmpty())
        error = systemError(errno);
    return error;
}

} // namespace

std::unique_ptr<QFile> openRegularFile(const QString& path, QString* error) {
    // O_NONBLOCK: opening a named pipe for reading would otherwise wait for a writer.
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = systemError(errno);
        return nullptr;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        *error = S_ISDIR(status.st_mode) ? kFolder : kNotRegular;
        ::close(fd);
        return nullptr;
    }
    auto file = std::make_unique<QFile>(path);
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        *error = file->errorString();
        ::close(fd);
        return nullptr;
    }
    return file;
}

FileRead readFileHead(const QString& path, qint64 limit) {
    FileRead result;
    const std::unique_ptr<QFile> file = openRegularFile(path, &result.error);
    if (!file)
        return result;
    result.fileSize = file->size();
    result.bytes = file->read(limit);
    if (file->error() != QFileDevice::NoError) {
        result.error = file->errorString();
        result.bytes.clear();
    }
    return result;
}

namespace {

struct WriteFailure {
    QString reason; // empty on success
    bool inPlace = false;
};

WriteFailure replaceFile(const QString& path, const QByteArray& bytes) {
    const QByteArray name = QFile::encodeName(path);
    struct stat old {};
    const bool exists = ::stat(name.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return {QStringLiteral("A folder of that name is in the way.")};
    if (exists && !S_ISREG(old.st_mode))
        return {kNotRegular};
    if (exists && old.st_nlink > 1)
        return {writeInPlace(name, bytes), true}; // a new file would leave the other links

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // A folder that takes no new file can still hold a writable one.
        if (exists && ::access(name.constData(), W_OK) == 0)
            return {writeInPlace(name, bytes), true};
        return {file.errorString()};
    }
    if (exists) {
        const int fd = file.handle();
        const bool ownerKept = (old.st_uid == ::geteuid() && old.st_gid == ::getegid()) ||
                               ::fchown(fd, old.st_uid, old.st_gid) == 0;
        if (!ownerKept) {
            file.cancelWriting();
            return {writeInPlace(name, bytes), true};
        }
        ::fchmod(fd, old.st_mode & 07777);
    }
    // Unbuffered, a short write (a full disk) shows here and not only when the file is
    // closed; the sync catches what a file system reports later still. Any failure drops
    // the temporary file and leaves the old one as it was.
    QString error;
    if (file.write(bytes) != bytes.size())
        error = file.errorString();
    else if (!file.flush())
        error = file.errorString();
    else if (::fsync(file.handle()) != 0)
        error = systemError(errno);
    if (!error.isEmpty()) {
        file.cancelWriting();
        return {error};
    }
    if (!file.commit())
        return {file.errorString()};
    return {};
}

} // namespace

QString writeFileAtomically(const QString& path, const QByteArray& bytes) {
    const WriteFailure failure = replaceFile(path, bytes);
    if (failure.reason.isEmpty())
        return {};
    return failure.reason + (failure.inPlace
                                 ? QStringLiteral("\n\nThe file was being written in place and "
                                                  "may now be incomplete.")
                                 : QStringLiteral("\n\nThe file on disk is unchanged."));
}

} // namespace core
