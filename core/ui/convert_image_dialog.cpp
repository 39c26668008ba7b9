// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/convert_image_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/platform/qt_prompts.h"
#include "core/ui/picture_canvas.h"

namespace core {

ConvertImageDialog::ConvertImageDialog(const CalculatorProfile& profile,
                                       const PictureToConvert& picture, const PixelGrid& current,
                                       QWidget* parent)
    : QDialog(parent), m_profile(profile), m_current(current),
      m_source(picture, QSize(current.columns(), current.rows())),
      m_result(current.rows(), current.columns()) {
    setObjectName(QStringLiteral("ConvertImage"));
    setWindowTitle(tr("Convert Image"));

    scaleBox = new QComboBox(this);
    scaleBox->addItems({tr("Fit"), tr("Fill"), tr("Stretch"), tr("Actual size")});

    thresholdSlider = new QSlider(Qt::Horizontal, this);
    thresholdSlider->setRange(0, 255);
    thresholdSlider->setValue(128);
    thresholdBox = new QSpinBox(this);
    thresholdBox->setRange(0, 255);
    thresholdBox->setValue(128);
    autoButton = new QPushButton(tr("Auto"), this);
    autoButton->setAutoDefault(false);
    autoButton->setToolTip(tr("The threshold that best parts dark from light (Otsu's method)"));
    auto* threshold = new QHBoxLayout;
    threshold->addWidget(thresholdSlider, 1);
    threshold->addWidget(thresholdBox);
    threshold->addWidget(autoButton);

    ditherBox = new QComboBox(this);
    ditherBox->addItems({tr("None"), QStringLiteral("Floyd\u2013Steinberg"), tr("Atkinson"),
                         tr("Ordered 4x4"), tr("Ordered 8x8")});
    ditherBox->setCurrentIndex(1);

    invertBox = new QCheckBox(tr("Invert"), this);
    replaceButton = new QRadioButton(tr("Replace picture"), this);
    addButton = new QRadioButton(tr("Add black pixels"), this);
    replaceButton->setChecked(true);
    auto* mode = new QHBoxLayout;
    mode->addWidget(replaceButton);
    mode->addWidget(addButton);
    mode->addStretch(1);

    const int zoom = std::max(1, 720 / current.columns());
    preview = new PictureCanvas(current.rows(), current.columns(), zoom, this);
    preview->setAttribute(Qt::WA_TransparentForMouseEvents);
    // A new zoom makes a new surface: the result is drawn on it again.
    preview->setRepaintHandler([this] { preview->rebuild(m_result, m_profile.cellFill); });

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true); // Return accepts

    auto* form = new QFormLayout;
    form->addRow(tr("Scale:"), scaleBox);
    form->addRow(tr("Threshold:"), threshold);
    form->addRow(tr("Dither:"), ditherBox);
    form->addRow(QString(), invertBox);
    form->addRow(QString(), mode);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    // The preview keeps whole pixels per cell and shrinks with the dialog on a small screen.
    layout->addWidget(new CanvasHost(preview, zoom, this), 1);
    layout->addWidget(buttons);

    connect(scaleBox, &QComboBox::currentIndexChanged, this, &ConvertImageDialog::render);
    connect(thresholdSlider, &QSlider::valueChanged, thresholdBox, &QSpinBox::setValue);
    connect(thresholdBox, &QSpinBox::valueChanged, thresholdSlider, &QSlider::setValue);
    connect(thresholdBox, &QSpinBox::valueChanged, this, &ConvertImageDialog::render);
    connect(autoButton, &QPushButton::clicked, this,
            [this] { thresholdBox->setValue(otsuThreshold(cellsFor(scaleMode()))); });
    connect(ditherBox, &QComboBox::currentIndexChanged, this, &ConvertImageDialog::render);
    connect(invertBox, &QCheckBox::toggled, this, &ConvertImageDialog::render);
    connect(addButton, &QRadioButton::toggled, this, &ConvertImageDialog::render);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    render();
    resize(sizeHint().boundedTo(largestClientSize(parent ? parent : this)));
}

ConvertImageDialog::~ConvertImageDialog() {
    preview->setRepaintHandler(nullptr);
}

ScaleMode ConvertImageDialog::scaleMode() const {
    return ScaleMode(scaleBox->currentIndex());
}

ConversionOptions ConvertImageDialog::options() const {
    return {thresholdBox->value(), Dither(ditherBox->currentIndex()), invertBox->isChecked()};
}

bool ConvertImageDialog::addsToPicture() const {
    return addButton->isChecked();
}

const GreyCells& ConvertImageDialog::cellsFor(ScaleMode mode) {
    if (m_cachedMode != mode) { // only a new scale mode scales the picture again
        m_cells = m_source.cells(mode);
        m_cachedMode = mode;
    }
    return m_cells;
}

void ConvertImageDialog::render() {
    m_result = convertCells(cellsFor(scaleMode()), options());
    if (addsToPicture()) { // black pixels over what is there, as Import adds them
        for (int r = 0; r < m_result.rows(); ++r)
            for (int c = 0; c < m_result.columns(); ++c)
                if (m_current.at(r, c) == 1)
                    m_result.set(r, c, 1);
    }
    preview->rebuild(m_result, m_profile.cellFill);
}

} // namespace core
