// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// Convert Image on a large photo: the first preview against Qt decoding the file, and the
// preview after a change of a control.
#include <cstdio>

#include <QApplication>
#include <QComboBox>
#include <QImageReader>
#include <QPainter>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "bench/bench_app.h"
#include "bench/harness.h"
#include "core/imaging/picture_conversion_source.h"
#include "core/model/calculator_profile.h"
#include "core/ui/convert_image_dialog.h"
#include "core/ui/picture_canvas.h"

namespace {

// A photo-like picture that does not compress to nothing.
QImage photo(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb((x * 255 / w + y) & 0xFF, (y * 255 / h) & 0xFF, (x ^ y) & 0xFF);
    }
    QPainter p(&image);
    p.setBrush(Qt::black);
    p.drawEllipse(QPoint(w / 3, h / 2), h / 4, h / 4);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    bench::choosePlatform();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    photo(4000, 4000).save(path, "JPEG", 90);
    const core::CalculatorProfile& profile = core::CalculatorProfile::pixvane();
    const core::PixelGrid grid(profile.rows, profile.columns);

    // The first preview: read, prepare, convert and paint the dialog.
    qint64 sink = 0;
    const bench::Comparison first = bench::compare(
        [&] {
            QString error;
            const core::PictureToConvert picture =
                core::readPictureToConvert(path, QSize(profile.columns, profile.rows), &error);
            core::ConvertImageDialog dialog(profile, picture, grid, nullptr);
            dialog.show();
            if (!QTest::qWaitForWindowExposed(&dialog))
                std::printf("the dialog was never exposed\n");
            dialog.preview->repaint();
            sink += dialog.result().at(50, 50);
        },
        [&] {
            QImageReader reader(path);
            sink += reader.read().width();
        },
        1);
    bench::report("Convert Image: first preview of a 4000 x 4000 JPEG (anchor: QImageReader)",
                  first, "us", "ratio <= 1.5", first.ratio.median() <= 1.5);

    // A change of a control: the preview recomputed and repainted.
    QString error;
    core::ConvertImageDialog dialog(
        profile, core::readPictureToConvert(path, QSize(profile.columns, profile.rows), &error),
        grid, nullptr);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        std::printf("the dialog was never exposed\n");
    int threshold = 100;
    auto repaintOnly = [&] { dialog.preview->repaint(); };
    const bench::Comparison change = bench::compare(
        [&] {
            threshold = threshold == 100 ? 150 : 100;
            dialog.thresholdBox->setValue(threshold);
            dialog.preview->repaint();
        },
        repaintOnly, 20);
    bench::report("  a new threshold: preview again (anchor: its repaint alone)", change, "us",
                  "ours <= 5000 us", change.ours.median() <= 5000);
    int mode = 0;
    const bench::Comparison scale = bench::compare(
        [&] {
            mode = (mode + 1) % 4;
            dialog.scaleBox->setCurrentIndex(mode);
            dialog.preview->repaint();
        },
        repaintOnly, 8);
    bench::report("  a new scale mode: preview again (anchor: its repaint alone)", scale, "us",
                  "ours <= 5000 us", scale.ours.median() <= 5000);
    std::printf("  (%lld)\n", sink);
    return 0;
}
