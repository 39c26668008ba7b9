// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/imaging/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <variant>

#include <QDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace core {

QString decodeFileName(const QByteArray& bytes) {
    QString name;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        // The length and smallest value of a UTF-8 sequence by its first byte.
        const unsigned lead = b[i];
        const int length = lead < 0x80                   ? 1
                           : lead >= 0xC2 && lead < 0xE0 ? 2
                           : lead >= 0xE0 && lead < 0xF0 ? 3
                           : lead >= 0xF0 && lead < 0xF5 ? 4
                                                         : 0;
        char32_t code = length == 1   ? lead
                        : length == 2 ? lead & 0x1F
                        : length == 3 ? lead & 0x0F
                                      : lead & 0x07;
        bool valid = length > 0 && i + length <= n;
        for (int k = 1; valid && k < length; ++k) {
            valid = (b[i + k] & 0xC0) == 0x80;
            code = code << 6 | (b[i + k] & 0x3F);
        }
        valid = valid && !(length == 3 && code < 0x800) && !(length == 4 && code < 0x10000) &&
                !(code >= 0xD800 && code < 0xE000) && code <= 0x10FFFF;
        if (!valid) {
            name += QChar(char16_t(0xDC00 + lead)); // a stray byte
            ++i;
            continue;
        }
        name += QString::fromUcs4(&code, 1);
        i += length;
    }
    return name;
}

QByteArray encodeFileName(const QString& name) {
    QByteArray bytes;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool pair =
            QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate();
        if (!pair && c >= 0xDC80 && c <= 0xDCFF) {
            bytes += char(c - 0xDC00);
            continue;
        }
        bytes += QString(name.constData() + i, pair ? 2 : 1).toUtf8();
        i += pair ? 1 : 0;
    }
    return bytes;
}

QString displayFileName(const QString& name) {
    QString shown;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool pair =
            QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate();
        const bool previousHigh = i > 0 && name[i - 1].isHighSurrogate();
        if (!pair && !previousHigh && c >= 0xDC80 && c <= 0xDCFF)
            shown +=
                QStringLiteral("\\x") +
                QStringLiteral("%1").arg(unsigned(c - 0xDC00), 2, 16, QLatin1Char('0')).toUpper();
        else
            shown += name[i];
    }
    return shown;
}

namespace {

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

const QString kNotRegular = QStringLiteral(
    "It is not a regular file (a named pipe, a socket or a device), so it is not read.");
const QString kFolder = QStringLiteral("It is a folder, not a file.");

// A batch's file from this size on is sent to the disk as soon as it is written.
constexpr qsizetype kEarlyWriteBytes = 256 * 1024;

// Writes all of `bytes` at the file offset `at`, through EINTR and short writes.
int writeAllAt(int fd, const QByteArray& bytes, off_t at) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), at + off_t(done));
        if (n < 0 && errno != EINTR)
            return errno;
        if (n > 0)
            done += n;
    }
    return 0;
}

// What became of the file a failed write was aimed at, for the message.
enum class OldFile { None, Unchanged, MaybeIncomplete };

struct WriteFailure {
    QString reason; // empty on success
    OldFile old = OldFile::Unchanged;
};

// Writes over the file's own bytes from the start, then cuts it to the new length: used
// where a temporary file beside it would lose a hard link or the owner, or cannot be made.
// The space is reserved first, so a full disk fails before a single byte is overwritten.
WriteFailure writeInPlace(const QByteArray& name, const struct stat& expected,
                          const QByteArray& bytes) {
    // O_NOFOLLOW: the name was a regular file a moment ago and must not have become a link.
    const int fd = ::open(name.constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return {systemError(errno)};
    struct stat now {};
    if (::fstat(fd, &now) != 0 || now.st_dev != expected.st_dev || now.st_ino != expected.st_ino) {
        ::close(fd);
        return {QStringLiteral("The file changed while it was being saved.")};
    }
    if (const int error = ::posix_fallocate(fd, 0, off_t(bytes.size())); error != 0) {
        // The reservation may have lengthened the file; its bytes are untouched.
        [[maybe_unused]] const int cut = ::ftruncate(fd, now.st_size);
        ::close(fd);
        return {systemError(error)};
    }
    int error = writeAllAt(fd, bytes, 0);
    if (error == 0 && ::ftruncate(fd, bytes.size()) != 0)
        error = errno;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0)
        return {systemError(error), OldFile::MaybeIncomplete};
    return {};
}

QByteArray folderOf(const QByteArray& name) {
    const qsizetype slash = name.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : name.left(slash);
}

// A new file beside `name`, open for writing, with a name no other file has; -1 and errno
// when the folder takes none.
int createBeside(const QByteArray& name, QByteArray* temporary) {
    const qsizetype slash = name.lastIndexOf('/');
    // Hidden, and short enough for any file system's longest name.
    *temporary = name.left(slash + 1) + '.' + name.mid(slash + 1).left(200) + ".XXXXXX";
    return ::mkostemp(temporary->data(), O_CLOEXEC);
}

// A replacement on its way: the temporary file beside the target, written but neither synced
// nor renamed yet.
struct Pending {
    QByteArray name;
    QByteArray temporary;
    int fd = -1;
    OldFile untouched = OldFile::None;
};

// Syncs the pending file (unless `synced` already), closes it and renames it over its
// target; the temporary file is gone either way.
WriteFailure completePending(const Pending& p, bool synced = false) {
    int error = !synced && ::fsync(p.fd) != 0 ? errno : 0;
    if (::close(p.fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(p.temporary.constData(), p.name.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(p.temporary.constData());
        return {systemError(error), p.untouched};
    }
    return {};
}

void syncFolder(const QByteArray& path) {
    // The rename itself survives a crash only once the folder is synced.
    const int folder = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

// The usual way starts: a temporary file beside the target, written. A symbolic link is
// replaced itself, never written through: a save must not land in a file the user named only
// by a link (another user's link in a shared folder, say). Where a temporary file would lose a
// hard link or the owner, or cannot be made, the file is written in place at once and the
// result is that write's.
std::variant<Pending, WriteFailure> startReplacing(const QString& path, const QByteArray& bytes) {
    const QByteArray name = encodeFileName(path);
    struct stat old {};
    const bool exists = ::lstat(name.constData(), &old) == 0;
    const bool link = exists && S_ISLNK(old.st_mode);
    const OldFile untouched = exists ? OldFile::Unchanged : OldFile::None;
    if (exists && S_ISDIR(old.st_mode))
        return WriteFailure{QStringLiteral("A folder of that name is in the way.")};
    if (exists && !link && !S_ISREG(old.st_mode))
        return WriteFailure{kNotRegular};
    if (exists && !link && old.st_nlink > 1)
        return writeInPlace(name, old, bytes); // a new file would leave the other links

    Pending p{name, {}, -1, untouched};
    p.fd = createBeside(name, &p.temporary);
    if (p.fd < 0) {
        const int error = errno;
        // A folder that takes no new file can still hold a writable one.
        if (exists && !link && ::access(name.constData(), W_OK) == 0)
            return writeInPlace(name, old, bytes);
        return WriteFailure{systemError(error), untouched};
    }
    if (exists && !link) {
        const bool ownerKept = (old.st_uid == ::geteuid() && old.st_gid == ::getegid()) ||
                               ::fchown(p.fd, old.st_uid, old.st_gid) == 0;
        if (!ownerKept) {
            ::close(p.fd);
            ::unlink(p.temporary.constData());
            return writeInPlace(name, old, bytes);
        }
        ::fchmod(p.fd, old.st_mode & 07777);
    } else {
        // What a plain new file gets: 0666 less the umask.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(p.fd, 0666 & ~mask);
    }
    // A short write (a full disk) shows here; the sync catches what a file system reports
    // later still. Any failure drops the temporary file and leaves the old one as it was.
    if (const int error = writeAllAt(p.fd, bytes, 0); error != 0) {
        ::close(p.fd);
        ::unlink(p.temporary.constData());
        return WriteFailure{systemError(error), untouched};
    }
    return p;
}

WriteFailure replaceFile(const QString& path, const QByteArray& bytes) {
    auto started = startReplacing(path, bytes);
    if (auto* failure = std::get_if<WriteFailure>(&started))
        return *failure;
    const Pending& p = std::get<Pending>(started);
    const WriteFailure done = completePending(p);
    if (done.reason.isEmpty())
        syncFolder(folderOf(p.name));
    return done;
}

QString messageOf(const WriteFailure& failure) {
    switch (failure.old) {
    case OldFile::None:
        return failure.reason;
    case OldFile::Unchanged:
        return failure.reason.isEmpty()
                   ? QString()
                   : failure.reason + QStringLiteral("\n\nThe file on disk is unchanged.");
    case OldFile::MaybeIncomplete:
        return failure.reason + QStringLiteral("\n\nThe file was being written in place and "
                                               "may now be incomplete.");
    }
    return failure.reason;
}

} // namespace

std::unique_ptr<QFile> openRegularFile(const QString& path, QString* error) {
    // O_NONBLOCK: opening a named pipe for reading would otherwise wait for a writer.
    const QByteArray name = encodeFileName(path);
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

QString writeFileAtomically(const QString& path, const QByteArray& bytes) {
    return messageOf(replaceFile(path, bytes));
}

struct BatchWriter::Queued {
    QString key; // the absolute name, so that two spellings of one file meet
    Pending pending;
    std::function<void(const QString&)> done;
};

BatchWriter::BatchWriter(size_t limit) : m_limit(std::max<size_t>(1, limit)) {}

BatchWriter::~BatchWriter() {
    flush();
}

namespace {
QString keyOf(const QString& path) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}
} // namespace

bool BatchWriter::isPending(const QString& path) const {
    const QString key = keyOf(path);
    return std::any_of(m_queue.begin(), m_queue.end(),
                       [&](const Queued& q) { return q.key == key; });
}

void BatchWriter::add(const QString& path, const QByteArray& bytes,
                      std::function<void(const QString&)> done) {
    if (isPending(path))
        flush(); // the later bytes must win, as one file after the other would
    auto started = startReplacing(path, bytes);
    if (auto* failure = std::get_if<WriteFailure>(&started)) {
        done(messageOf(*failure)); // failed, or written in place already
        return;
    }
    // The disk starts on a large file's data now, while the next files are converted; small
    // ones wait for the flush, where their writes go to the disk together.
    if (bytes.size() >= kEarlyWriteBytes)
        ::sync_file_range(std::get<Pending>(started).fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    m_queue.push_back({keyOf(path), std::get<Pending>(started), std::move(done)});
    if (m_queue.size() >= m_limit)
        flush();
}

void BatchWriter::flush() {
    if (m_queue.empty())
        return;
    // One sync of the file system puts every queued file on the disk with one flush of its
    // cache, where each fsync of a file system without a journal flushes it again. Only when
    // that sync meets a write-back error does each file's own fsync say which one failed.
    std::vector<std::pair<dev_t, bool>> synced; // each file system once
    auto syncedFileSystem = [&synced](int fd) {
        struct stat status {};
        if (::fstat(fd, &status) != 0)
            return false;
        for (const auto& [device, ok] : synced)
            if (device == status.st_dev)
                return ok;
        return synced.emplace_back(status.st_dev, ::syncfs(fd) == 0).second;
    };
    std::vector<QByteArray> folders;
    std::vector<std::pair<std::function<void(const QString&)>, QString>> results;
    for (Queued& q : m_queue) {
        const WriteFailure failure = completePending(q.pending, syncedFileSystem(q.pending.fd));
        if (failure.reason.isEmpty()) {
            const QByteArray folder = folderOf(q.pending.name);
            if (std::find(folders.begin(), folders.end(), folder) == folders.end())
                folders.push_back(folder);
        }
        results.emplace_back(std::move(q.done), messageOf(failure));
    }
    m_queue.clear();
    for (const QByteArray& folder : folders)
        syncFolder(folder);
    for (auto& [done, message] : results)
        done(message);
}

} // namespace core
