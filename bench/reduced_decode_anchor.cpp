// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// The floor of converting a photo for a calculator's screen, as a process of its own: the JPEG
// decoded reduced by libjpeg to what Fill needs, scaled once to what Fit shows.
//   reduced_decode_anchor FILE COLUMNS ROWS [OUT]
// With OUT, the picture is also cut at half grey and its cells written to OUT whole or not at
// all, as calcpic writes its output.
#include <cstdlib>

#include <QCoreApplication>
#include <QFileInfo>

#include "bench/floor_output.h"
#include "bench/photos.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const int columns = std::atoi(argv[2]), rows = std::atoi(argv[3]);
    const QImage image =
        bench::reducedDecodeAndScale(QString::fromLocal8Bit(argv[1]), QSize(columns, rows));
    if (image.isNull())
        return 1;
    if (argc < 5)
        return 0;
    const QString out = QString::fromLocal8Bit(argv[4]);
    bench::WholeWriter writer(QFileInfo(out).absolutePath());
    return writer.write(out, bench::cellsAtHalfGrey(image, columns, rows)) && writer.flush() ? 0
                                                                                             : 1;
}
