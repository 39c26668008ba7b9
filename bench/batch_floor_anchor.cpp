// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// The floor of a calcpic batch, as one process: plain Qt doing the same work per file and no
// more, each output written with one plain write, nothing synced.
//   batch_floor_anchor image OUTDIR PNG...   each image decoded, scaled to fit 96 x 63, cut at
//                                            half grey, its 756 bytes of cells written
//   batch_floor_anchor png OUTDIR FILE...    each file read, its bytes as 96 x 63 cells, saved
//                                            as a PNG
#include <cstdio>
#include <cstring>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const bool toImage = std::strcmp(argv[1], "png") == 0;
    const QString out = QString::fromLocal8Bit(argv[2]) + QLatin1Char('/');
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
            if (!cells.save(name + QStringLiteral(".png"), "PNG"))
                return 1;
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
    return 0;
}
