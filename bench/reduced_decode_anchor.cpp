// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// The floor of converting a photo for a calculator's screen, as a process of its own: the JPEG
// decoded reduced by libjpeg to what Fill needs, scaled once to what Fit shows.
//   reduced_decode_anchor FILE COLUMNS ROWS
#include <cstdlib>

#include <QCoreApplication>

#include "bench/photos.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const QImage image = bench::reducedDecodeAndScale(
        QString::fromLocal8Bit(argv[1]), QSize(std::atoi(argv[2]), std::atoi(argv[3])));
    return image.isNull() ? 1 : 0;
}
