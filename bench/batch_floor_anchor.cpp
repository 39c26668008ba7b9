// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// The floor of a calcpic batch, as one process: plain Qt doing the same work per file and no
// more.
//   batch_floor_anchor image OUTDIR PNG...   each image decoded, scaled to fit 96 x 63, cut at
//                                            half grey, its 756 bytes of cells written with one
//                                            plain write, nothing synced
//   batch_floor_anchor png OUTDIR FILE...    each file read, its bytes as 96 x 63 cells, saved
//                                            as a PNG the same way
//   batch_floor_anchor image-whole | png-whole OUTDIR FILE...
//                                            the same, each output written whole or not at all
//                                            as calcpic writes its outputs, in the least way
//                                            (bench/floor_output.h)
#include <cstring>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include "bench/floor_output.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QByteArray mode = argv[1];
    const bool whole = mode.endsWith("-whole");
    const bool toImage = mode.startsWith("png");
    const QString out = QString::fromLocal8Bit(argv[2]) + QLatin1Char('/');
    bench::WholeWriter writer(out);
    const auto save = [&](const QString& path, const QByteArray& bytes) {
        if (whole)
            return writer.write(path, bytes);
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
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
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            if (!cells.save(&buffer, "PNG") || !save(name + QStringLiteral(".png"), png))
                return 1;
            continue;
        }
        QImageReader reader(path);
        const QImage image =
            reader.read().scaled(96, 63, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (image.isNull() ||
            !save(name + QStringLiteral(".cells"), bench::cellsAtHalfGrey(image, 96, 63)))
            return 1;
    }
    return writer.flush() ? 0 : 1;
}
