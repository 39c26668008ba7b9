// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// Convert Image on photos of 10, 24, 50 and 100 megapixels: the first preview shown, against
// the floor of the same work, a JPEG decoded reduced (QImageReader::setScaledSize, which libjpeg
// does in its DCT) to what Fill needs, scaled to the grid and shown in a bare window. Time and
// peak memory; then the preview after a change of a control.
#include <cmath>
#include <cstdio>
#include <string>

#include <malloc.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "bench/bench_app.h"
#include "bench/harness.h"
#include "bench/photos.h"
#include "core/imaging/picture_conversion_source.h"
#include "core/model/calculator_profile.h"
#include "core/ui/convert_image_dialog.h"
#include "core/ui/picture_canvas.h"

namespace {

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
    qint64 sink = 0;

    for (const bench::PhotoSize& photo : bench::kPhotoSizes) {
        const QString path = dir.filePath(QStringLiteral("photo.jpg"));
        bench::writePhoto(path, photo);
        auto ours = [&] {
            QString error;
            const core::PictureToConvert picture = core::readPictureToConvert(path, size, &error);
            core::ConvertImageDialog dialog(profile, picture, grid, nullptr);
            dialog.show();
            if (!QTest::qWaitForWindowExposed(&dialog))
                std::printf("the dialog was never exposed\n");
            dialog.preview->repaint();
            sink += dialog.result().at(50, 50);
        };
        auto anchor = [&] {
            QLabel shown;
            shown.setPixmap(QPixmap::fromImage(bench::reducedDecodeAndScale(path, size)));
            shown.show();
            if (!QTest::qWaitForWindowExposed(&shown))
                std::printf("the anchor was never exposed\n");
            shown.repaint();
        };
        const std::string name = "Convert Image: first preview, " + std::string(photo.name) +
                                 " JPEG (anchor: reduced decode + scale, shown)";
        const bench::Comparison time = bench::compare(ours, anchor, 1);
        bench::report(name, time, "us", "ratio <= 1.2", time.ratio.median() <= 1.2);

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
        bench::report("  its peak memory", memory, "MiB", "ratio <= 2", memory.ratio.median() <= 2);
    }

    // A colour document (.8ci, 266 x 165): the first preview of a 24 MP photo, against decoding
    // the photo alone, and against the same floor as above.
    {
        const core::CalculatorProfile& dotwell = core::CalculatorProfile::dotwell();
        const core::PixelGrid colourGrid(165, 266);
        const QSize colourSize(266, 165);
        const QString path = dir.filePath(QStringLiteral("photo.jpg"));
        bench::writePhoto(path, bench::kPhotoSizes[1]);
        auto ours = [&] {
            QString error;
            const core::PictureToConvert picture =
                core::readPictureToConvert(path, colourSize, &error);
            core::ConvertImageDialog dialog(dotwell, picture, colourGrid, nullptr,
                                            core::CellKind::Palette);
            dialog.show();
            if (!QTest::qWaitForWindowExposed(&dialog))
                std::printf("the dialog was never exposed\n");
            dialog.preview->repaint();
            sink += dialog.result().at(50, 50);
        };
        auto decode = [&] { sink += QImageReader(path).read().width(); };
        const bench::Comparison time = bench::compare(ours, decode, 1);
        bench::report("Convert Image in colour (.8ci): first preview, 24 MP JPEG (anchor: "
                      "decoding the photo)",
                      time, "us", "ratio <= 1.5", time.ratio.median() <= 1.5);
        auto floor = [&] {
            QLabel shown;
            shown.setPixmap(QPixmap::fromImage(bench::reducedDecodeAndScale(path, colourSize)));
            shown.show();
            if (!QTest::qWaitForWindowExposed(&shown))
                std::printf("the anchor was never exposed\n");
            shown.repaint();
        };
        const bench::Comparison reduced = bench::compare(ours, floor, 1);
        bench::report("  the same (anchor: reduced decode + scale, shown)", reduced, "us", "-",
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
