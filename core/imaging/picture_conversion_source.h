// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include "core/model/picture_conversion.h"

namespace core {

// How Convert Image places a picture on the grid.
enum class ScaleMode {
    Fit,       // keep the aspect, centred, the rest clear
    Fill,      // keep the aspect, cover the whole grid, the centre cut out
    Stretch,   // to the grid's size
    ActualSize // no scaling, centred
};

// A picture prepared for Convert Image. Reduced once, by area averaging, to at most four times
// what any scale mode needs, and its centre kept at full size for Actual size: every change of
// scale mode afterwards costs a small scaling, never one of the whole picture.
class ConversionSource {
public:
    ConversionSource() = default;
    ConversionSource(const QImage& picture, QSize grid);

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

// Reads a picture to convert: whatever Qt reads, from a regular file. A picture Qt's
// allocation limit refuses is refused before anything is allocated for it.
QImage readPictureToConvert(const QString& path, QString* error);

// The files Convert Image offers: every format Qt reads, as "Pictures|*.bmp;*.png;...".
QString convertibleFilter();

} // namespace core
