// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "calcpic/native_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "core/imaging/file_io.h"

namespace calcpic {
namespace {

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray bytesOf(std::string_view text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

} // namespace

bool qtNamesIt(std::string_view name) {
    const QByteArray bytes = bytesOf(name);
    return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
}

std::optional<FileId> fileIdOf(const std::string& name, bool ownEntry) {
    struct stat status {};
    if ((ownEntry ? ::lstat(name.c_str(), &status) : ::stat(name.c_str(), &status)) != 0)
        return std::nullopt;
    return FileId{status.st_dev, status.st_ino};
}

bool isFolder(const std::string& name) {
    struct stat status {};
    return ::stat(name.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

InputFile::InputFile(const std::string& name) {
    if (qtNamesIt(name)) {
        m_path = QFile::decodeName(bytesOf(name));
        return;
    }
    // O_NONBLOCK: a named pipe is refused by the reader, not waited on here.
    m_fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = systemError(errno);
        return;
    }
    m_path = QStringLiteral("/proc/self/fd/%1").arg(m_fd);
    if (::access(QFile::encodeName(m_path).constData(), F_OK) != 0)
        m_error = QStringLiteral("Its name is not UTF-8, and without /proc it cannot be read.");
}

InputFile::~InputFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

QString writeOutput(const std::string& name, const QByteArray& bytes) {
    if (qtNamesIt(name))
        return core::writeFileAtomically(QFile::decodeName(bytesOf(name)), bytes);
    const size_t slash = name.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : name.substr(0, slash);
    const std::string leaf = slash == std::string::npos ? name : name.substr(slash + 1);
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return systemError(errno);
    struct stat status {};
    QString error;
    if (::fstatat(dir, leaf.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        error = QStringLiteral("A file of that name exists, and calcpic replaces only a file "
                               "whose name is UTF-8. It is unchanged.");
    } else {
        // A temporary name that is free, in the same folder so that the move is a rename.
        std::string temporary;
        for (int i = 0; temporary.empty() ||
                        ::fstatat(dir, temporary.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
             ++i)
            temporary = ".calcpic-" + std::to_string(::getpid()) + "-" + std::to_string(i);
        error = core::writeFileAtomically(
            QStringLiteral("/proc/self/fd/%1/").arg(dir) + QString::fromLatin1(temporary), bytes);
        // Never over a file that appeared meanwhile: rename without replacing, or link where
        // the file system cannot rename so.
        if (error.isEmpty() &&
            ::renameat2(dir, temporary.c_str(), dir, leaf.c_str(), RENAME_NOREPLACE) != 0) {
            int failure = errno;
            if (failure == EINVAL)
                failure = ::linkat(dir, temporary.c_str(), dir, leaf.c_str(), 0) == 0 ? 0 : errno;
            ::unlinkat(dir, temporary.c_str(), 0);
            if (failure != 0)
                error = systemError(failure);
        }
    }
    ::close(dir);
    return error;
}

std::string outputInFolder(const std::string& folder, const std::string& input,
                           std::string_view extension) {
    const size_t slash = input.rfind('/');
    std::string base = slash == std::string::npos ? input : input.substr(slash + 1);
    if (const size_t dot = base.rfind('.'); dot != std::string::npos)
        base.erase(dot);
    std::string out = folder;
    if (!out.empty() && out.back() != '/')
        out += '/';
    return out + base + "." + std::string(extension);
}

void writeOutput(core::BatchWriter& batch, const std::string& name, const QByteArray& bytes,
                 std::function<void(const QString&)> done) {
    if (qtNamesIt(name))
        batch.add(QFile::decodeName(bytesOf(name)), bytes, std::move(done));
    else
        done(writeOutput(name, bytes));
}

} // namespace calcpic
