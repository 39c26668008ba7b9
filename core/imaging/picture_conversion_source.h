// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;
class QMimeData;

#include "core/model/picture_conversion.h"

namespace core {

// How Convert Image places a picture on the grid.
enum class ScaleMode {
    Fit,       // keep the aspect, centred, the rest clear
    Fill,      // keep the aspect, cover the whole grid, the centre cut out
    Stretch,   // to the grid's size
    ActualSize // no scaling, centred
};

// A picture read for Convert Image: whole when it can be decoded whole; else, from a reader
// that decodes a reduced picture (JPEG), what a ConversionSource keeps of it: the picture at
// four times what any scale mode needs, and the middle the grid's size at full size for
// Actual size, decoded on its own.
struct PictureToConvert {
    QImage picture; // whole, or reduced
    QImage centre;  // with a reduced picture: its grid-sized middle at full size
    QSize size;     // the picture's own size, upright as shown

    bool isNull() const { return picture.isNull(); }
};

// A picture prepared for Convert Image. Reduced once, by area averaging, to at most four times
// what any scale mode needs, and its centre kept at full size for Actual size: every change of
// scale mode afterwards costs a small scaling, never one of the whole picture.
class ConversionSource {
public:
    ConversionSource() = default;
    ConversionSource(const QImage& picture, QSize grid);
    ConversionSource(const PictureToConvert& picture, QSize grid);

    bool isNull() const { return m_original.isEmpty(); }
    QSize pictureSize() const { return m_original; }
    // The picture at grid size, placed as the mode says, as grey cells.
    GreyCells cells(ScaleMode mode) const;

private:
    QSize m_grid;
    QSize m_original;
    QImage m_reduced; // ARGB32, for the modes that scale
    QImage m_centre;  // ARGB32, the grid-sized middle at full size, for Actual size
};

// The cells Convert Image makes of a picture: the same function the dialog and calcpic use.
PixelGrid convertPicture(const QImage& picture, QSize grid, ScaleMode mode,
                         const ConversionOptions& options);

// Reads a picture to convert for a grid of this size: whatever Qt reads, from a regular file,
// turned upright as a photo's orientation says. A picture too large to decode whole within
// Qt's allocation limit is read reduced where its reader can (JPEG) and refused otherwise,
// before anything is allocated for it: "The picture is W x H pixels, too large to read." An
// invalid grid asks for the whole picture.
PictureToConvert readPictureToConvert(const QString& path, QSize grid, QString* error);
PictureToConvert readPictureToConvert(QIODevice* device, QSize grid, QString* error);
// For a caller that has no grid: as for the largest calculator screen, and only the picture;
// a reduced picture's middle is then not at full size.
QImage readPictureToConvert(const QString& path, QString* error);

// The picture on the clipboard, for Paste: the encoded pictures it offers (PNG, JPEG...) are
// read as a file is, so that a photo is decoded no larger than the conversion needs; a
// picture offered only decoded is taken as it is. Null, with the reason in `error`, when
// there is nothing to convert or it is too large.
PictureToConvert readClipboardPicture(const QMimeData* data, QSize grid, QString* error);

// The files Convert Image offers: every format Qt reads, as "Pictures|*.bmp;*.png;...".
QString convertibleFilter();

} // namespace core
