// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

// What the floors of calcpic's work write, in the least way that does what calcpic must.
#include <algorithm>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

namespace bench {

// Each output whole or not at all: a temporary file beside it; after every 64 files (or at
// the end) one sync of the file system, then each renamed over its name and the folder synced.
class WholeWriter {
public:
    explicit WholeWriter(const QString& folder)
        : m_folder(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY)) {}
    ~WholeWriter() {
        flush();
        ::close(m_folder);
    }
    WholeWriter(const WholeWriter&) = delete;
    WholeWriter& operator=(const WholeWriter&) = delete;

    bool write(const QString& path, const QByteArray& bytes) {
        QByteArray name = QFile::encodeName(path);
        const qsizetype slash = name.lastIndexOf('/');
        QByteArray temporary = name.left(slash + 1) + '.' + name.mid(slash + 1) + ".tmp";
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0)
            return false;
        const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
        if (::close(fd) != 0 || !written)
            return false;
        m_pending.emplace_back(std::move(temporary), std::move(name));
        return m_pending.size() < 64 || flush();
    }
    bool flush() {
        bool ok = m_pending.empty() || ::syncfs(m_folder) == 0;
        for (const auto& [temporary, name] : m_pending)
            ok = ::rename(temporary.constData(), name.constData()) == 0 && ok;
        if (!m_pending.empty())
            ok = ::fsync(m_folder) == 0 && ok;
        m_pending.clear();
        return ok;
    }

private:
    int m_folder;
    std::vector<std::pair<QByteArray, QByteArray>> m_pending;
};

// A picture's cells, cut at half grey, eight to a byte, rows padded to whole bytes, at
// `columns` x `rows` (the picture's top left; what lies outside stays clear).
inline QByteArray cellsAtHalfGrey(const QImage& picture, int columns, int rows) {
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    const int stride = (columns + 7) / 8;
    QByteArray bits(stride * rows, '\0');
    for (int y = 0; y < std::min(rows, grey.height()); ++y)
        for (int x = 0; x < std::min(columns, grey.width()); ++x)
            if (grey.constScanLine(y)[x] < 128)
                bits[y * stride + x / 8] = char(bits[y * stride + x / 8] | (0x80 >> (x % 8)));
    return bits;
}

} // namespace bench
