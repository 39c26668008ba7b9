// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// Convert Image on photos of 10, 24, 50 and 100 megapixels: the first preview shown. Time and
// peak memory, each side from the file's name to its window exposed and repainted.
//   Ours: readPictureToConvert decodes the JPEG reduced to what Fill needs
//   (QImageReader::setScaledSize: libjpeg's DCT to the least M/8 that reaches it, then the
//   reader's smooth scale to it); ConvertImageDialog builds its widgets, scales that to the
//   original's thumbnail and to Fit on the grid, converts it to cells (grey, Levels, threshold)
//   and draws them at the preview's zoom; the dialog is shown.
//   The anchor: the same reduced decode to what Fill needs, scaled once to Fit, placed on a
//   white picture of the grid's size and magnified to the preview's zoom; a plain QDialog with
//   the same widgets (kinds, count, texts, ranges and layouts; no connections, no conversion)
//   shows it in a QLabel where our preview is, and the decode scaled to the thumbnail in the
//   QLabel where our original is.
//   Context: the same first preview against the floor of the decode alone, the reduced decode
//   scaled to Fit and shown in a bare QLabel window.
// Then the preview after a change of a control, against the same done in plain Qt.
#include <cmath>
#include <cstdio>
#include <string>

#include <malloc.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "bench/bench_app.h"
#include "bench/harness.h"
#include "bench/photos.h"
#include "core/imaging/picture_conversion_source.h"
#include "core/model/calculator_profile.h"
#include "core/model/colour_conversion.h"
#include "core/ui/convert_image_dialog.h"
#include "core/ui/picture_canvas.h"

namespace {

QHBoxLayout* sliderWithBox(int low, int high, int value, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(low, high);
    slider->setValue(value);
    auto* box = new QSpinBox(parent);
    box->setRange(low, high);
    box->setValue(value);
    auto* row = new QHBoxLayout;
    row->addWidget(slider, 1);
    row->addWidget(box);
    return row;
}

// The anchor's dialog: Convert Image's widgets as it makes them for a monochrome grid (or a
// colour one's palette), with nothing connected, showing `preview` where the cells are and
// `thumbnail` beside it.
void fillBareDialog(QDialog& dialog, QImage preview, QImage thumbnail, bool palette = false) {
    const core::ConversionOptions defaults;
    dialog.setWindowTitle(QStringLiteral("Convert Image"));
    auto* scaleBox = new QComboBox(&dialog);
    scaleBox->addItems({"Fit", "Fill", "Stretch", "Actual size"});
    auto* threshold = sliderWithBox(0, 255, defaults.threshold, &dialog);
    auto* autoButton = new QPushButton(QStringLiteral("Auto"), &dialog);
    autoButton->setAutoDefault(false);
    autoButton->setToolTip(
        QStringLiteral("The threshold that best parts dark from light (Otsu's method)"));
    threshold->addWidget(autoButton);
    auto* ditherBox = new QComboBox(&dialog);
    ditherBox->addItems({"None", "Floyd\u2013Steinberg", "Atkinson", "Ordered 4x4", "Ordered 8x8"});
    ditherBox->setCurrentIndex(palette ? 1 : 0);
    auto* strengthBox = new QSpinBox(&dialog);
    strengthBox->setRange(0, 100);
    strengthBox->setValue(defaults.strength);
    strengthBox->setSuffix(QStringLiteral(" %"));
    strengthBox->setToolTip(
        QStringLiteral("The share of each cell's error passed on to its neighbours"));
    strengthBox->setEnabled(palette);
    auto* serpentineBox = new QCheckBox(QStringLiteral("Serpentine"), &dialog);
    serpentineBox->setToolTip(QStringLiteral("Every other row from right to left"));
    serpentineBox->setEnabled(palette);
    auto* diffusion = new QHBoxLayout;
    diffusion->addWidget(strengthBox);
    diffusion->addWidget(serpentineBox);
    diffusion->addStretch(1);
    auto* levelsBox = new QComboBox(&dialog);
    levelsBox->addItems({"Off", "Auto"});
    levelsBox->setCurrentIndex(palette ? 0 : 1);
    levelsBox->setToolTip(QStringLiteral(
        "Auto: the darkest and lightest 0.5 % of the picture become black and white"));
    auto* brightness = sliderWithBox(-core::kBrightnessRange, core::kBrightnessRange, 0, &dialog);
    auto* contrast = sliderWithBox(-core::kBrightnessRange, core::kBrightnessRange, 0, &dialog);
    auto* gammaBox = new QDoubleSpinBox(&dialog);
    gammaBox->setRange(core::kLowestGamma, core::kHighestGamma);
    gammaBox->setDecimals(2);
    gammaBox->setSingleStep(0.05);
    gammaBox->setValue(1.0);
    gammaBox->setToolTip(QStringLiteral("Above 1 lightens the middle greys, below 1 darkens them"));
    auto* invertBox = new QCheckBox(QStringLiteral("Invert"), &dialog);
    auto* replaceButton = new QRadioButton(QStringLiteral("Replace picture"), &dialog);
    auto* addButton = new QRadioButton(QStringLiteral("Add black pixels"), &dialog);
    replaceButton->setChecked(true);
    auto* noneBox = new QCheckBox(QStringLiteral("White as none"), &dialog);
    noneBox->setToolTip(
        QStringLiteral("White cells are left out: RecallPic leaves the screen as it was there"));
    noneBox->setVisible(palette);
    if (palette) {
        for (int i = 0; i < threshold->count(); ++i)
            if (QWidget* w = threshold->itemAt(i)->widget())
                w->setEnabled(false);
        addButton->setText(QStringLiteral("Add over the picture"));
        addButton->setToolTip(
            QStringLiteral("The picture's white (or none) leaves the cells under it"));
    }
    auto* mode = new QHBoxLayout;
    mode->addWidget(replaceButton);
    mode->addWidget(addButton);
    mode->addStretch(1);
    // Where ours has its canvas in a host that centres it.
    auto* host = new QWidget(&dialog);
    host->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* shown = new QLabel(host);
    shown->setObjectName(QStringLiteral("preview"));
    const QSize previewSize = preview.size();
    shown->setPixmap(QPixmap::fromImage(std::move(preview)));
    shown->resize(previewSize);
    host->setMinimumSize(previewSize);
    auto* original = new QLabel(&dialog);
    original->setPixmap(QPixmap::fromImage(std::move(thumbnail)));
    original->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    original->setToolTip(QStringLiteral("The picture as it was"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    auto* helpButton =
        buttons->addButton(QStringLiteral("How it works"), QDialogButtonBox::HelpRole);
    helpButton->setAutoDefault(false);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Scale:"), scaleBox);
    form->addRow(QStringLiteral("Threshold:"), threshold);
    form->addRow(QStringLiteral("Dither:"), ditherBox);
    form->addRow(QStringLiteral("Strength:"), diffusion);
    form->addRow(QString(), invertBox);
    form->addRow(QString(), noneBox);
    form->addRow(QString(), mode);
    auto* tone = new QFormLayout;
    tone->addRow(QStringLiteral("Levels:"), levelsBox);
    tone->addRow(QStringLiteral("Brightness:"), brightness);
    tone->addRow(QStringLiteral("Contrast:"), contrast);
    tone->addRow(QStringLiteral("Gamma:"), gammaBox);
    auto* controls = new QHBoxLayout;
    controls->addLayout(form, 3);
    controls->addSpacing(12);
    controls->addLayout(tone, 2);
    auto* pictures = new QHBoxLayout;
    pictures->addWidget(host, 1);
    pictures->addWidget(original);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(controls);
    layout->addLayout(pictures, 1);
    layout->addWidget(buttons);
    dialog.resize(dialog.sizeHint());
}

// What the anchor's dialog shows of a photo for a grid: decoded reduced to what Fill needs,
// scaled to Fit, (given `colours`, dithered to them by Qt's own Floyd-Steinberg,) placed on the
// grid and magnified as our preview magnifies cells; the decode scaled into the thumbnail's box.
void bareFirstPreview(const QString& path, QSize grid, int zoom, QImage* preview, QImage* thumbnail,
                      const QList<QRgb>& colours = {}) {
    QImage decoded;
    QImage placed = bench::reducedDecodeAndScale(path, grid, &decoded);
    if (!colours.isEmpty())
        placed = placed.convertToFormat(QImage::Format_Indexed8, colours, Qt::DiffuseDither);
    QImage onGrid(grid, QImage::Format_RGB32);
    onGrid.fill(Qt::white);
    QPainter(&onGrid).drawImage((grid.width() - placed.width()) / 2,
                                (grid.height() - placed.height()) / 2, placed);
    *preview = onGrid.scaled(grid * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    *thumbnail = decoded.scaled(QSize(160, 160), Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// The anchor's conversion of a picture on the grid to two levels, in plain Qt: grey, the
// darkest and lightest 0.5 % stretched to black and white, cut at `threshold`, magnified.
QImage bareCells(const QImage& onGrid, int threshold, int zoom) {
    const QImage grey = onGrid.convertToFormat(QImage::Format_Grayscale8);
    int count[256] = {};
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            ++count[grey.constScanLine(y)[x]];
    const int cut = grey.width() * grey.height() / 200;
    int low = 0, high = 255;
    for (int seen = 0; low < 255 && (seen += count[low]) <= cut;)
        ++low;
    for (int seen = 0; high > 0 && (seen += count[high]) <= cut;)
        --high;
    QImage cells(grey.size(), QImage::Format_RGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(cells.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int v = grey.constScanLine(y)[x];
            const int stretched =
                high > low ? std::clamp((v - low) * 255 / (high - low), 0, 255) : v;
            line[x] = stretched < threshold ? 0xFF000000u : 0xFFFFFFFFu;
        }
    }
    return cells.scaled(cells.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// Our first preview: the photo read for the grid, Convert Image made for it and shown; returns a
// cell, so that nothing is optimised away.
int showOurFirstPreview(const core::CalculatorProfile& profile, const QString& path,
                        const core::PixelGrid& grid, core::CellKind kind) {
    QString error;
    const core::PictureToConvert picture =
        core::readPictureToConvert(path, QSize(grid.columns(), grid.rows()), &error);
    core::ConvertImageDialog dialog(profile, picture, grid, nullptr, kind);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        std::printf("the dialog was never exposed\n");
    dialog.preview->repaint();
    return dialog.result().at(50, 50);
}

// The anchor's first preview (bareFirstPreview) in a bare dialog of the same widgets.
void showBareFirstPreview(const QString& path, QSize grid, int zoom,
                          const QList<QRgb>& colours = {}) {
    QImage preview, thumbnail;
    bareFirstPreview(path, grid, zoom, &preview, &thumbnail, colours);
    QDialog bare;
    fillBareDialog(bare, std::move(preview), std::move(thumbnail), !colours.isEmpty());
    bare.show();
    if (!QTest::qWaitForWindowExposed(&bare))
        std::printf("the anchor was never exposed\n");
    bare.repaint();
}

// The floor of the decode alone: the reduced decode scaled to Fit, shown in a bare window.
void showDecodeAlone(const QString& path, QSize grid) {
    QLabel shown;
    shown.setPixmap(QPixmap::fromImage(bench::reducedDecodeAndScale(path, grid)));
    shown.show();
    if (!QTest::qWaitForWindowExposed(&shown))
        std::printf("the anchor was never exposed\n");
    shown.repaint();
}

// Peak memory of each side over 21 repetitions, ABBA.
bench::Comparison comparePeaks(const std::function<void()>& ours,
                               const std::function<void()>& anchor) {
    bench::Comparison memory;
    for (int rep = 0; rep < 21; ++rep) {
        double used[2];
        for (int k = 0; k < 2; ++k) {
            const bool isOurs = (rep % 2 == 0) == (k == 0);
            bench::resetPeak();
            const double before = bench::peakMegabytes();
            isOurs ? ours() : anchor();
            used[isOurs ? 0 : 1] = bench::peakMegabytes() - before;
        }
        memory.ours.values.push_back(used[0]);
        memory.anchor.values.push_back(used[1]);
        memory.ratio.values.push_back(used[0] / std::max(used[1], 0.1));
    }
    return memory;
}

} // namespace

int main(int argc, char** argv) {
    // Every large buffer from fresh pages, so that a peak shows what each side allocates and
    // not what the allocator happened to keep.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    bench::choosePlatform();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const core::CalculatorProfile& profile = core::CalculatorProfile::pixvane();
    const core::PixelGrid grid(profile.rows, profile.columns);
    const QSize size(profile.columns, profile.rows);
    const int zoom = std::max(1, 720 / profile.columns); // as the dialog's preview starts
    qint64 sink = 0;

    for (const bench::PhotoSize& photo : bench::kPhotoSizes) {
        const QString path = dir.filePath(QStringLiteral("photo.jpg"));
        bench::writePhoto(path, photo);
        auto ours = [&] {
            sink += showOurFirstPreview(profile, path, grid, core::CellKind::Monochrome);
        };
        auto anchor = [&] { showBareFirstPreview(path, size, zoom); };
        auto decodeAlone = [&] { showDecodeAlone(path, size); };
        const std::string name =
            "Convert Image: first preview, " + std::string(photo.name) +
            " JPEG (anchor: reduced decode + scale, shown in a bare dialog of the same widgets)";
        const bench::Comparison time = bench::compare(ours, anchor, 1);
        bench::report(name, time, "us", "ratio <= 1.2", time.ratio.median() <= 1.2);
        const bench::Comparison memory = comparePeaks(ours, anchor);
        bench::report("  its peak memory", memory, "MiB", "ratio <= 2", memory.ratio.median() <= 2);
        const bench::Comparison alone = bench::compare(ours, decodeAlone, 1);
        bench::report("  the same (anchor: reduced decode + scale, shown in a bare window; "
                      "context)",
                      alone, "us", "-", true, false);
        const bench::Comparison aloneMemory = comparePeaks(ours, decodeAlone);
        bench::report("  its peak memory (the same anchor; context)", aloneMemory, "MiB", "-", true,
                      false);
    }

    // A colour document (.8ci, 266 x 165): the first preview of a 24 MP photo, against the
    // same floor dithered to the fifteen colours by Qt (ours dithers in OKLab, which costs more)
    // in a bare dialog of the colour dialog's widgets; the floor undithered in a bare window and
    // the decode alone as context.
    {
        const core::CalculatorProfile& dotwell = core::CalculatorProfile::dotwell();
        const core::PixelGrid colourGrid(165, 266);
        const QSize colourSize(266, 165);
        const int colourZoom = std::max(1, 720 / colourSize.width());
        QList<QRgb> palette; // the fifteen colours a cell can show
        for (int i = 1; i < int(core::kCePalette.size()); ++i)
            palette.push_back(0xFF000000u | core::paletteRgb(i));
        const QString path = dir.filePath(QStringLiteral("photo.jpg"));
        bench::writePhoto(path, bench::kPhotoSizes[1]);
        auto ours = [&] {
            sink += showOurFirstPreview(dotwell, path, colourGrid, core::CellKind::Palette);
        };
        auto anchor = [&] { showBareFirstPreview(path, colourSize, colourZoom, palette); };
        const bench::Comparison time = bench::compare(ours, anchor, 1);
        bench::report("Convert Image in colour (.8ci): first preview, 24 MP JPEG (anchor: reduced "
                      "decode + scale, dithered to the palette by Qt, shown in a bare dialog of "
                      "the same widgets)",
                      time, "us", "ratio <= 1.2", time.ratio.median() <= 1.2);
        const bench::Comparison memory = comparePeaks(ours, anchor);
        bench::report("  its peak memory", memory, "MiB", "ratio <= 2", memory.ratio.median() <= 2);
        auto floor = [&] { showDecodeAlone(path, colourSize); };
        const bench::Comparison reduced = bench::compare(ours, floor, 1);
        bench::report("  the same (anchor: reduced decode + scale, shown in a bare window; "
                      "context)",
                      reduced, "us", "-", true, false);
        auto decode = [&] { sink += QImageReader(path).read().width(); };
        const bench::Comparison whole = bench::compare(ours, decode, 1);
        bench::report("  the same (anchor: decoding the photo whole; context)", whole, "us", "-",
                      true, false);
    }

    // A change of a control: the preview recomputed and repainted.
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    bench::writePhoto(path, bench::kPhotoSizes[1]);
    QString error;
    core::ConvertImageDialog dialog(profile, core::readPictureToConvert(path, size, &error), grid,
                                    nullptr);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        std::printf("the dialog was never exposed\n");
    // The anchor: a bare dialog showing the same photo, whose preview is made again in plain Qt
    // from the same reduced decode: scaled for the mode, placed on the grid, converted to two
    // levels, magnified, set and repainted.
    QImage decoded, preview, thumbnail;
    bench::reducedDecodeAndScale(path, size, &decoded);
    bareFirstPreview(path, size, zoom, &preview, &thumbnail);
    QDialog bare;
    fillBareDialog(bare, preview, thumbnail);
    bare.show();
    if (!QTest::qWaitForWindowExposed(&bare))
        std::printf("the anchor was never exposed\n");
    auto* shown = bare.findChild<QLabel*>(QStringLiteral("preview"));
    const auto placedFor = [&](int mode) {
        static constexpr Qt::AspectRatioMode kAspect[] = {
            Qt::KeepAspectRatio, Qt::KeepAspectRatioByExpanding, Qt::IgnoreAspectRatio};
        QImage onGrid(size, QImage::Format_RGB32);
        onGrid.fill(Qt::white);
        // Actual size: the middle of the reduced decode stands in for the full-size middle.
        const QImage placed =
            mode < 3 ? decoded.scaled(size, kAspect[mode], Qt::SmoothTransformation) : decoded;
        QPainter(&onGrid).drawImage((size.width() - placed.width()) / 2,
                                    (size.height() - placed.height()) / 2, placed);
        return onGrid;
    };
    const QImage fit = placedFor(0);
    int threshold = 100, anchorThreshold = 100;
    const bench::Comparison change = bench::compare(
        [&] {
            threshold = threshold == 100 ? 150 : 100;
            dialog.thresholdBox->setValue(threshold);
            dialog.preview->repaint();
        },
        [&] {
            anchorThreshold = anchorThreshold == 100 ? 150 : 100;
            shown->setPixmap(QPixmap::fromImage(bareCells(fit, anchorThreshold, zoom)));
            shown->repaint();
        },
        20);
    bench::report("  a new threshold: preview again (anchor: the same in plain Qt)", change, "us",
                  "ratio <= 1.5", change.ratio.median() <= 1.5);
    int mode = 0, anchorMode = 0;
    const bench::Comparison scale = bench::compare(
        [&] {
            mode = (mode + 1) % 4;
            dialog.scaleBox->setCurrentIndex(mode);
            dialog.preview->repaint();
        },
        [&] {
            anchorMode = (anchorMode + 1) % 4;
            shown->setPixmap(QPixmap::fromImage(bareCells(placedFor(anchorMode), 128, zoom)));
            shown->repaint();
        },
        8);
    bench::report("  a new scale mode: preview again (anchor: the same in plain Qt)", scale, "us",
                  "ratio <= 1.5", scale.ratio.median() <= 1.5);
    auto repaintOnly = [&] { dialog.preview->repaint(); };
    const bench::Comparison repaint = bench::compare(
        [&] {
            threshold = threshold == 100 ? 150 : 100;
            dialog.thresholdBox->setValue(threshold);
            dialog.preview->repaint();
        },
        repaintOnly, 20);
    bench::report("  a new threshold (anchor: its repaint alone; context)", repaint, "us", "-",
                  true, false);
    const bench::Comparison scaleRepaint = bench::compare(
        [&] {
            mode = (mode + 1) % 4;
            dialog.scaleBox->setCurrentIndex(mode);
            dialog.preview->repaint();
        },
        repaintOnly, 8);
    bench::report("  a new scale mode (anchor: its repaint alone; context)", scaleRepaint, "us",
                  "-", true, false);
    std::printf("  (%lld)\n", sink);
    return 0;
}
