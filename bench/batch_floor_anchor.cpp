// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// The floor of a calcpic batch, as one process: plain Qt doing the same work per file and no
// more, each output written with one plain write, nothing synced.
//   batch_floor_anchor image OUTDIR PNG...   each image decoded, scaled to fit 96 x 63, cut at
//                                            half grey, its 756 bytes of cells written
//   batch_floor_anchor png OUTDIR FILE...    each file read, its bytes as 96 x 63 cells, saved
//                                            as a PNG
//   batch_floor_anchor png-whole OUTDIR FILE...
//                                            the same PNGs, each written whole or not at all as
//                                            calcpic writes its outputs, in the least way: to a
//                                            temporary file beside it; after every 64 files one
//                                            sync of the file system, then each renamed over
//                                            its name and the folder synced
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

namespace {

class WholeWriter {
public:
    explicit WholeWriter(const QString& folder)
        : m_folder(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY)) {}
    ~WholeWriter() {
        flush();
        ::close(m_folder);
    }
    bool write(const QString& path, const QByteArray& bytes) {
        QByteArray name = QFile::encodeName(path);
        const qsizetype slash = name.lastIndexOf('/');
        QByteArray temporary = name.left(slash + 1) + '.' + name.mid(slash + 1) + ".tmp";
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size() ||
            ::close(fd) != 0)
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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const bool whole = std::strcmp(argv[1], "png-whole") == 0;
    const bool toImage = whole || std::strcmp(argv[1], "png") == 0;
    const QString out = QString::fromLocal8Bit(argv[2]) + QLatin1Char('/');
    WholeWriter writer(out);
    for (int i = 3; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QString name = out + QFileInfo(path).completeBaseName();
        if (toImage) {
            QFile in(path);
            if (!in.open(QIODevice::ReadOnly))
                return 1;
            const QByteArray bytes = in.readAll();
            QImage cells(96, 63, QImage::Format_Mono);
            for (int y = 0; y < 63; ++y)
                std::memcpy(cells.scanLine(y), bytes.constData() + (y * 12) % bytes.size(),
                            size_t(std::min<qsizetype>(12, bytes.size())));
            if (whole) {
                QByteArray png;
                QBuffer buffer(&png);
                buffer.open(QIODevice::WriteOnly);
                if (!cells.save(&buffer, "PNG") || !writer.write(name + ".png", png))
                    return 1;
            } else if (!cells.save(name + QStringLiteral(".png"), "PNG")) {
                return 1;
            }
            continue;
        }
        QImageReader reader(path);
        const QImage image = reader.read()
                                 .scaled(96, 63, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                 .convertToFormat(QImage::Format_Grayscale8);
        if (image.isNull())
            return 1;
        QByteArray bits(756, '\0');
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.constScanLine(y)[x] < 128)
                    bits[y * 12 + x / 8] = char(bits[y * 12 + x / 8] | (0x80 >> (x % 8)));
        QFile file(name + QStringLiteral(".cells"));
        if (!file.open(QIODevice::WriteOnly) || file.write(bits) != bits.size())
            return 1;
    }
    return writer.flush() ? 0 : 1;
}
