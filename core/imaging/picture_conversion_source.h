// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>
#include <memory>

#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;
class QMimeData;

#include "core/model/colour_conversion.h"
#include "core/model/picture_conversion.h"

namespace core {

// How Convert Image places a picture on the grid.
enum class ScaleMode {
    Fit,       // keep the aspect, centred, the rest clear
    Fill,      // keep the aspect, cover the whole grid, the centre cut out
    Stretch,   // to the grid's size
    ActualSize // no scaling, centred
};

// The middle of a picture read reduced, the grid's size at full size, for Actual size. Decoded
// on first use: only that mode needs it, and decoding it costs most of a second pass over the
// file. Copies share what was decoded.
class FullSizeMiddle {
public:
    FullSizeMiddle() = default;
    explicit FullSizeMiddle(const QImage& image);
    FullSizeMiddle(QSize size, std::function<QImage()> decode);

    bool isNull() const { return m_size.isEmpty(); }
    QSize size() const { return m_size; }
    // The pixels, decoded now if they were not yet; null when they cannot be after all.
    QImage image() const;

private:
    struct Pixels {
        std::function<QImage()> decode;
        QImage image;
    };
    QSize m_size;
    std::shared_ptr<Pixels> m_pixels;
};

// A picture read for Convert Image: whole when the conversion needs all of it; else, from a
// reader that decodes a reduced picture (JPEG), what a ConversionSource keeps of it: the
// picture at twice what any scale mode needs, and the middle the grid's size at full
// size for Actual size, decoded when it is first asked for.
struct PictureToConvert {
    QImage picture;        // whole, or reduced
    FullSizeMiddle centre; // with a reduced picture: its grid-sized middle at full size
    QSize size;            // the picture's own size, upright as shown

    bool isNull() const { return picture.isNull(); }
};

// A picture prepared for Convert Image. Reduced once, by area averaging, to at most twice what
// any scale mode needs, and its centre kept at full size for Actual size: every change of
// scale mode afterwards costs a small scaling, never one of the whole picture.
class ConversionSource {
public:
    ConversionSource() = default;
    ConversionSource(const QImage& picture, QSize grid);
    ConversionSource(const PictureToConvert& picture, QSize grid);

    bool isNull() const { return m_original.isEmpty(); }
    QSize pictureSize() const { return m_original; }
    // The picture within `box`, its aspect kept, over white: what it looked like.
    QImage thumbnail(QSize box) const;
    // The picture at grid size, placed as the mode says, as grey cells.
    GreyCells cells(ScaleMode mode) const;
    // The same placement in colour, for a colour calculator's grid.
    ColourCells colourCells(ScaleMode mode) const;

private:
    struct Placement {
        QImage image; // at the size it takes on the grid
        QPoint at;    // its top left there
    };
    Placement placement(ScaleMode mode) const;

    QSize m_grid;
    QSize m_original;
    QImage m_reduced;        // RGB32 or ARGB32, for the modes that scale
    FullSizeMiddle m_middle; // of a picture read reduced, until Actual size asks for it
    mutable QImage m_centre; // the grid-sized middle, for Actual size
};

// The cells Convert Image makes of a picture: the same function the dialog and calcpic use.
PixelGrid convertPicture(const QImage& picture, QSize grid, ScaleMode mode,
                         const ConversionOptions& options);

// Reads a picture to convert for a grid of this size: whatever Qt reads, from a regular file,
// turned upright as a photo's orientation says. Where its reader can decode a reduced picture
// (JPEG) and the conversion needs less than the whole, it is read reduced, whatever its size up
// to the format's own limit. Otherwise it is read whole, and one too large for that within
// Qt's allocation limit is refused before anything is allocated for it: "The picture is W x H
// pixels, too large to read." An invalid grid asks for the whole picture.
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
