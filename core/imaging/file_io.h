// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QString>

namespace core {

// Every read and write of a picture file goes through here.

// File names as the system keeps them: bytes, most often UTF-8. A name that is not UTF-8
// travels in a QString with each stray byte as U+DC80..U+DCFF, the way Python's
// "surrogateescape" carries it, so that it comes back byte for byte; Qt's own conversion
// would turn each such byte into U+FFFD and name another file.
QString decodeFileName(const QByteArray& bytes);
QByteArray encodeFileName(const QString& name);
// For messages and the status bar: a stray byte shown as \xNN.
QString displayFileName(const QString& name);

struct FileRead {
    QByteArray bytes;
    qint64 fileSize = 0; // the whole file's size, however much was read
    QString error;       // empty on success
};

// Opens a regular file for reading. A named pipe, a socket or a device is refused at once
// rather than waited on; nullptr with `error` set when the file cannot be read.
std::unique_ptr<QFile> openRegularFile(const QString& path, QString* error);

// Reads at most `limit` bytes from the start of a regular file; a huge file is never loaded
// whole.
FileRead readFileHead(const QString& path, qint64 limit);

// Replaces the file with exactly these bytes. Normally through a temporary file beside it,
// written and synced before it is renamed over the old one, so a failed write (a full disk,
// say) leaves the old file byte for byte. The file keeps its mode and, where the process may
// set it, its owner. A file with several hard links, one whose owner could not be kept, or
// one in a folder that takes no temporary file is written in place instead, with its space
// reserved before the first byte is overwritten. A symbolic link is replaced by the file, never
// written through. Returns empty, or the reason with what became of the old file, for a
// message.
QString writeFileAtomically(const QString& path, const QByteArray& bytes);

// Many files written as writeFileAtomically writes each, synced together up to `limit` at a
// time instead of one after the other: every file is written to its temporary file at once;
// flush syncs them with one sync of their file system, then renames each into place. A crash before a flush leaves the outputs as
// they were (and hidden temporary files beside them), never one written in part. Files that
// writeFileAtomically would write in place are written at once.
class BatchWriter {
public:
    explicit BatchWriter(size_t limit = 64);
    ~BatchWriter(); // flushes
    BatchWriter(const BatchWriter&) = delete;
    BatchWriter& operator=(const BatchWriter&) = delete;

    // `done` gets empty or the reason (as writeFileAtomically's) once the file is in place or
    // has failed: at once, or at a flush.
    void add(const QString& path, const QByteArray& bytes,
             std::function<void(const QString&)> done);
    void flush();
    bool isPending(const QString& path) const;

private:
    struct Queued;
    size_t m_limit;
    std::vector<Queued> m_queue;
};

} // namespace core
