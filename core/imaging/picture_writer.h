// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QImage>
#include <QString>

#include "core/model/colour_conversion.h"
#include "core/model/pixel_grid.h"

namespace core {

// The picture as an image: `zoom` pixels a side per calculator pixel, black on white, 1 bit.
QImage gridImage(const PixelGrid& grid, int zoom = 1);
// The picture as an image of its kind's colours: a monochrome one as gridImage makes it, a
// palette's none transparent.
QImage gridImage(const PixelGrid& grid, CellKind kind, int zoom = 1);

// Encodes the image in a format Qt writes ("bmp", "png"). Returns the error, or empty.
QString encodePicture(const QImage& image, QByteArray* bytes, const char* format);

// Encodes the image in a format Qt writes ("bmp", "png") and replaces the file with it the
// way every picture file is written (see writeFileAtomically). Returns the error, or empty.
QString writePicture(const QImage& image, const QString& path, const char* format);

} // namespace core
