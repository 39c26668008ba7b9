// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <optional>

#include <QDialog>

#include "core/imaging/picture_conversion_source.h"
#include "core/model/calculator_profile.h"
#include "core/model/picture_conversion.h"
#include "core/model/pixel_grid.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace core {

class PictureCanvas;

// Convert Image: any picture to calculator cells, with the scale, the threshold (or Otsu's),
// the dither and its strength, the tone (levels, brightness, contrast, gamma), inversion and
// whether it replaces the picture or adds its black pixels; the preview shows the exact
// resulting cells the way the canvas draws them, after every change, beside a small picture
// of the original.
class ConvertImageDialog : public QDialog {
    Q_OBJECT
public:
    // `kind`: what the grid's cells hold; a colour grid gets its colours, no threshold, and
    // Levels off to start with (so that a picture made of the calculator's colours stays so).
    ConvertImageDialog(const CalculatorProfile& profile, const PictureToConvert& picture,
                       const PixelGrid& current, QWidget* parent,
                       CellKind kind = CellKind::Monochrome);
    ~ConvertImageDialog() override;

    ScaleMode scaleMode() const;
    ConversionOptions options() const;
    bool addsToPicture() const;
    // What OK puts into the grid.
    const PixelGrid& result() const { return m_result; }

    QComboBox* scaleBox;
    QSlider* thresholdSlider;
    QSpinBox* thresholdBox;
    QPushButton* autoButton;
    QComboBox* ditherBox;
    QSpinBox* strengthBox;
    QCheckBox* serpentineBox;
    QComboBox* levelsBox; // Off, Auto
    QSlider* brightnessSlider;
    QSpinBox* brightnessBox;
    QSlider* contrastSlider;
    QSpinBox* contrastBox;
    QDoubleSpinBox* gammaBox;
    QPushButton* helpButton;
    QCheckBox* invertBox;
    QRadioButton* replaceButton;
    QRadioButton* addButton;
    QCheckBox* noneBox; // a palette grid: white cells as none
    PictureCanvas* preview;
    QLabel* original; // the picture as it was, small
    QDialogButtonBox* buttons;

private:
    void render();
    void showArithmetic();
    const GreyCells& cellsFor(ScaleMode mode);
    const ColourCells& colourCellsFor(ScaleMode mode);

    const CalculatorProfile& m_profile;
    const PixelGrid& m_current;
    ConversionSource m_source;
    std::optional<ScaleMode> m_cachedMode; // the mode m_cells were placed for
    GreyCells m_cells;
    CellKind m_kind;
    std::optional<ScaleMode> m_colourMode; // the mode m_colourCells were placed for
    ColourCells m_colourCells;
    PixelGrid m_result;
};

} // namespace core
