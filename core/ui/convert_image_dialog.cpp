// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/convert_image_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/platform/qt_prompts.h"
#include "core/ui/picture_canvas.h"

namespace core {

namespace {

// A slider and a box that show one value: the box for typing it, the slider for sweeping it.
QHBoxLayout* sliderWithBox(QSlider*& slider, QSpinBox*& box, int low, int high, int value,
                           QWidget* parent) {
    slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(low, high);
    slider->setValue(value);
    box = new QSpinBox(parent);
    box->setRange(low, high);
    box->setValue(value);
    QObject::connect(slider, &QSlider::valueChanged, box, &QSpinBox::setValue);
    QObject::connect(box, &QSpinBox::valueChanged, slider, &QSlider::setValue);
    auto* row = new QHBoxLayout;
    row->addWidget(slider, 1);
    row->addWidget(box);
    return row;
}

} // namespace

ConvertImageDialog::ConvertImageDialog(const CalculatorProfile& profile,
                                       const PictureToConvert& picture, const PixelGrid& current,
                                       QWidget* parent, CellKind kind)
    : QDialog(parent), m_profile(profile), m_current(current),
      m_source(picture, QSize(current.columns(), current.rows())), m_kind(kind),
      m_result(current.rows(), current.columns()) {
    const bool colour = kind != CellKind::Monochrome;
    setObjectName(QStringLiteral("ConvertImage"));
    setWindowTitle(tr("Convert Image"));
    const ConversionOptions defaults;

    scaleBox = new QComboBox(this);
    scaleBox->addItems({tr("Fit"), tr("Fill"), tr("Stretch"), tr("Actual size")});

    auto* threshold =
        sliderWithBox(thresholdSlider, thresholdBox, 0, 255, defaults.threshold, this);
    autoButton = new QPushButton(tr("Auto"), this);
    autoButton->setAutoDefault(false);
    autoButton->setToolTip(tr("The threshold that best parts dark from light (Otsu's method)"));
    threshold->addWidget(autoButton);

    ditherBox = new QComboBox(this);
    ditherBox->addItems({tr("None"), QStringLiteral("Floyd\u2013Steinberg"), tr("Atkinson"),
                         tr("Ordered 4x4"), tr("Ordered 8x8")});
    // Fifteen colours band a photo without a dither; RGB565 needs none.
    ditherBox->setCurrentIndex(
        int(kind == CellKind::Palette ? Dither::FloydSteinberg : defaults.dither));
    strengthBox = new QSpinBox(this);
    strengthBox->setRange(0, 100);
    strengthBox->setValue(defaults.strength);
    strengthBox->setSuffix(QStringLiteral(" %"));
    strengthBox->setToolTip(tr("The share of each cell's error passed on to its neighbours"));
    serpentineBox = new QCheckBox(tr("Serpentine"), this);
    serpentineBox->setChecked(defaults.serpentine);
    serpentineBox->setToolTip(tr("Every other row from right to left"));
    auto* diffusion = new QHBoxLayout;
    diffusion->addWidget(strengthBox);
    diffusion->addWidget(serpentineBox);
    diffusion->addStretch(1);

    levelsBox = new QComboBox(this);
    levelsBox->addItems({tr("Off"), tr("Auto")});
    levelsBox->setCurrentIndex(defaults.tone.autoLevels && !colour ? 1 : 0);
    levelsBox->setToolTip(
        tr("Auto: the darkest and lightest 0.5 % of the picture become black and white"));
    auto* brightness = sliderWithBox(brightnessSlider, brightnessBox, -kBrightnessRange,
                                     kBrightnessRange, defaults.tone.brightness, this);
    auto* contrast = sliderWithBox(contrastSlider, contrastBox, -kBrightnessRange, kBrightnessRange,
                                   defaults.tone.contrast, this);
    gammaBox = new QDoubleSpinBox(this);
    gammaBox->setRange(kLowestGamma, kHighestGamma);
    gammaBox->setDecimals(2);
    gammaBox->setSingleStep(0.05);
    gammaBox->setValue(defaults.tone.gamma);
    gammaBox->setToolTip(tr("Above 1 lightens the middle greys, below 1 darkens them"));

    invertBox = new QCheckBox(tr("Invert"), this);
    replaceButton = new QRadioButton(tr("Replace picture"), this);
    addButton = new QRadioButton(tr("Add black pixels"), this);
    replaceButton->setChecked(true);
    noneBox = new QCheckBox(tr("White as none"), this);
    noneBox->setToolTip(
        tr("White cells are left out: RecallPic leaves the screen as it was there"));
    noneBox->setVisible(kind == CellKind::Palette);
    if (colour) {
        // The colours are chosen, not parted at a threshold.
        for (QWidget* w : {static_cast<QWidget*>(thresholdSlider),
                           static_cast<QWidget*>(thresholdBox), static_cast<QWidget*>(autoButton)})
            w->setEnabled(false);
        addButton->setText(tr("Add over the picture"));
        addButton->setToolTip(tr("The picture's white (or none) leaves the cells under it"));
    }
    auto* mode = new QHBoxLayout;
    mode->addWidget(replaceButton);
    mode->addWidget(addButton);
    mode->addStretch(1);

    const int zoom = std::max(1, 720 / current.columns());
    preview = new PictureCanvas(current.rows(), current.columns(), zoom, this);
    preview->setAttribute(Qt::WA_TransparentForMouseEvents);
    // A new zoom makes a new surface: the result is drawn on it again.
    preview->setRepaintHandler(
        [this] { preview->rebuild(m_result, cellFillOf(m_kind, m_profile.cellFill), m_kind); });
    original = new QLabel(this);
    original->setObjectName(QStringLiteral("original"));
    original->setPixmap(QPixmap::fromImage(m_source.thumbnail(QSize(160, 160))));
    original->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    original->setToolTip(tr("The picture as it was"));

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true); // Return accepts
    helpButton = buttons->addButton(tr("How it works"), QDialogButtonBox::HelpRole);
    helpButton->setAutoDefault(false);

    // Placing and parting on the left, the tone beside them.
    auto* form = new QFormLayout;
    form->addRow(tr("Scale:"), scaleBox);
    form->addRow(tr("Threshold:"), threshold);
    form->addRow(tr("Dither:"), ditherBox);
    form->addRow(tr("Strength:"), diffusion);
    form->addRow(QString(), invertBox);
    form->addRow(QString(), noneBox);
    form->addRow(QString(), mode);
    auto* tone = new QFormLayout;
    tone->addRow(tr("Levels:"), levelsBox);
    tone->addRow(tr("Brightness:"), brightness);
    tone->addRow(tr("Contrast:"), contrast);
    tone->addRow(tr("Gamma:"), gammaBox);
    auto* controls = new QHBoxLayout;
    controls->addLayout(form, 3);
    controls->addSpacing(12);
    controls->addLayout(tone, 2);
    auto* pictures = new QHBoxLayout;
    // The preview keeps whole pixels per cell and shrinks with the dialog on a small screen.
    pictures->addWidget(new CanvasHost(preview, zoom, this), 1);
    pictures->addWidget(original);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addLayout(pictures, 1);
    layout->addWidget(buttons);

    connect(scaleBox, &QComboBox::currentIndexChanged, this, &ConvertImageDialog::render);
    connect(thresholdBox, &QSpinBox::valueChanged, this, &ConvertImageDialog::render);
    connect(autoButton, &QPushButton::clicked, this, [this] {
        thresholdBox->setValue(otsuThreshold(cellsFor(scaleMode()), options().tone));
    });
    connect(ditherBox, &QComboBox::currentIndexChanged, this, &ConvertImageDialog::render);
    connect(strengthBox, &QSpinBox::valueChanged, this, &ConvertImageDialog::render);
    connect(serpentineBox, &QCheckBox::toggled, this, &ConvertImageDialog::render);
    connect(levelsBox, &QComboBox::currentIndexChanged, this, &ConvertImageDialog::render);
    connect(brightnessBox, &QSpinBox::valueChanged, this, &ConvertImageDialog::render);
    connect(contrastBox, &QSpinBox::valueChanged, this, &ConvertImageDialog::render);
    connect(gammaBox, &QDoubleSpinBox::valueChanged, this, &ConvertImageDialog::render);
    connect(invertBox, &QCheckBox::toggled, this, &ConvertImageDialog::render);
    connect(noneBox, &QCheckBox::toggled, this, &ConvertImageDialog::render);
    connect(addButton, &QRadioButton::toggled, this, &ConvertImageDialog::render);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, &ConvertImageDialog::showArithmetic);
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
    ConversionOptions o(thresholdBox->value(), Dither(ditherBox->currentIndex()),
                        invertBox->isChecked());
    o.strength = strengthBox->value();
    o.serpentine = serpentineBox->isChecked();
    o.tone.autoLevels = levelsBox->currentIndex() == 1;
    o.tone.brightness = brightnessBox->value();
    o.tone.contrast = contrastBox->value();
    o.tone.gamma = gammaBox->value();
    return o;
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

const ColourCells& ConvertImageDialog::colourCellsFor(ScaleMode mode) {
    if (m_colourMode != mode) {
        m_colourCells = m_source.colourCells(mode);
        m_colourMode = mode;
    }
    return m_colourCells;
}

void ConvertImageDialog::render() {
    const ConversionOptions o = options();
    // Strength and serpentine belong to the error diffusions.
    const bool diffusing = o.dither == Dither::FloydSteinberg || o.dither == Dither::Atkinson;
    strengthBox->setEnabled(diffusing);
    serpentineBox->setEnabled(diffusing);
    if (m_kind == CellKind::Monochrome) {
        m_result = convertCells(cellsFor(scaleMode()), o);
        if (addsToPicture()) { // black pixels over what is there, as Import adds them
            for (int r = 0; r < m_result.rows(); ++r)
                for (int c = 0; c < m_result.columns(); ++c)
                    if (m_current.at(r, c) == 1)
                        m_result.set(r, c, 1);
        }
    } else {
        m_result = convertColourCells(colourCellsFor(scaleMode()), m_kind, o, noneBox->isChecked());
        if (addsToPicture()) { // the picture's paper lets what is there show through
            const std::int16_t paper = paperOf(m_kind);
            const bool white = m_kind == CellKind::Palette;
            for (int r = 0; r < m_result.rows(); ++r)
                for (int c = 0; c < m_result.columns(); ++c)
                    if (const std::int16_t v = m_result.at(r, c);
                        v == paper || (white && v == kPaletteWhite))
                        m_result.set(r, c, m_current.at(r, c));
        }
    }
    preview->rebuild(m_result, cellFillOf(m_kind, m_profile.cellFill), m_kind);
}

// The arithmetic in words, in a window of its own that stays beside the dialog.
void ConvertImageDialog::showArithmetic() {
    auto* window = findChild<QDialog*>(QStringLiteral("ConversionArithmetic"));
    if (!window) {
        window = new QDialog(this);
        window->setObjectName(QStringLiteral("ConversionArithmetic"));
        window->setWindowTitle(tr("How Convert Image works"));
        auto* text = new QPlainTextEdit(QString::fromUtf8(kConversionArithmetic), window);
        text->setReadOnly(true);
        auto* close = new QDialogButtonBox(QDialogButtonBox::Close, window);
        connect(close, &QDialogButtonBox::rejected, window, &QDialog::close);
        auto* layout = new QVBoxLayout(window);
        layout->addWidget(text);
        layout->addWidget(close);
        window->resize(QSize(560, 420).boundedTo(largestClientSize(this)));
    }
    window->show();
    window->raise();
}

} // namespace core
