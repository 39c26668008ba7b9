// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// Writes the fuzzers' starting inputs, all made by this project's own code.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "core/formats/format_registry.h"
#include "core/formats/ti83_picture_file.h"
#include "core/formats/ti83plus_picture_file.h"
#include "core/formats/ti92_picture_file.h"
#include "tests/support/picture_bytes.h"

namespace {

void write(const QString& dir, const QString& name, const QByteArray& bytes) {
    QDir().mkpath(dir);
    QFile file(dir + "/" + name);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray metafile() {
    return testing_support::WmfBuilder(100, 50, 96, 3)
        .colourRecord(0x02FC, 0, 0x000000, {0})
        .record(0x012D, {0})
        .record(0x02FA, {0, 2, 0, 0, 0})
        .record(0x012D, {1})
        .record(0x020B, {0, 0})
        .record(0x020C, {50, 100})
        .record(0x0418, {40, 40, 10, 10})
        .record(0x041B, {40, 90, 10, 60})
        .record(0x061C, {5, 5, 45, 95, 2, 2})
        .record(0x0324, {3, 1, 1, 20, 1, 1, 20})
        .record(0x0817, {0, 0, 10, 10, 20, 20, 0, 0})
        .record(0x001E, {})
        .record(0x0127, {0xFFFF})
        .record(0x0521, {2, 0x6948, 30, 30})
        .bytes();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("seeds");

    core::PixelGrid grid(103, 240);
    for (int i = 0; i < 103; ++i)
        grid.set(i, i * 2, 1);
    const auto ti92 = core::buildTi92File(grid, {"main", "pic", "seed"});
    QByteArray full(reinterpret_cast<const char*>(ti92.data()), qsizetype(ti92.size()));
    write(root + "/ti92_reader_fuzz", "full.92i", full);
    QByteArray small = full.left(92 + 20 * 4);
    small[86] = 0, small[87] = 5 + 20 * 4; // size word: height, width, rows, DF
    small[89] = 20, small[91] = 30;
    write(root + "/ti92_reader_fuzz", "small.92i", small);
    core::PicFileBuffer ti83;
    ti83.complete("seed.83i", "seed", core::PixelGrid(63, 96));
    write(root + "/ti92_reader_fuzz", "seed.83i", QByteArray(ti83.view().data(), 830));
    const auto plus = core::buildTi83PlusFile(ti83, true);
    const QByteArray plusBytes(reinterpret_cast<const char*>(plus.data()), qsizetype(plus.size()));
    write(root + "/ti92_reader_fuzz", "seed.8xi", plusBytes);
    // The older 11-byte variable header: no version and flag.
    write(root + "/ti92_reader_fuzz", "short-header.8xi",
          plusBytes.left(55) + QByteArray("\x0B\x00", 2) + plusBytes.mid(57, 11) +
              plusBytes.mid(70));
    // A new picture of every format the registry knows, with a few cells set.
    for (const core::FormatDescriptor& format : core::allFormats()) {
        core::CalculatorPicture picture = core::newPicture(format.id);
        picture.grid.set(0, 0, 1);
        picture.grid.set(picture.grid.rows() - 1, picture.grid.columns() - 1, 1);
        const auto file = core::writePicture(picture, format.id);
        if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&file))
            write(root + "/ti92_reader_fuzz", "new." + QString::fromLatin1(format.extension),
                  QByteArray(reinterpret_cast<const char*>(bytes->data()),
                             qsizetype(bytes->size())));
    }

    write(root + "/wmf_player_fuzz", "shapes.wmf", metafile());

    QImage picture(12, 10, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).fillRect(2, 2, 6, 5, Qt::black);
    write(root + "/import_fuzz", "shapes.wmf", metafile());
    write(root + "/import_fuzz", "picture.bmp", encoded(picture, "BMP"));
    write(root + "/import_fuzz", "picture.ico",
          encoded(picture.convertToFormat(QImage::Format_ARGB32), "ICO"));
    write(root + "/import_fuzz", "mono.bmp",
          encoded(picture.convertToFormat(QImage::Format_Mono), "BMP"));
    const auto ring = [](int x, int y) { return (x - 7) * (x - 7) + (y - 7) * (y - 7) < 40; };
    write(root + "/import_fuzz", "masked4.ico",
          testing_support::iconFile(
              4, 16, 16, [&](int x, int y) -> std::uint32_t { return ring(x, y) ? 0 : 1; },
              [&](int x, int y) { return !ring(x, y); }));
    write(root + "/import_fuzz", "masked24.ico",
          testing_support::iconFile(
              24, 16, 16, [&](int x, int y) -> std::uint32_t { return ring(x, y) ? 0 : 0xFFFFFF; },
              [&](int x, int y) { return x < 3; }));
    write(root + "/import_fuzz", "skip.rle",
          testing_support::rle8Bitmap(4, 2, QByteArray("\x02\x00\x00\x02\x02\x01\x00\x01", 8)));
    // An animation with every disposal, a transparent frame and one of no delay.
    using testing_support::GifFrame;
    auto gifFrame = [](int left, int top, int w, int h, std::uint8_t index, int disposal,
                       int delay, std::optional<std::uint8_t> transparent) {
        GifFrame f;
        f.left = left;
        f.top = top;
        f.width = w;
        f.height = h;
        f.indices.assign(size_t(w * h), index);
        f.indices[0] = 0;
        f.disposal = disposal;
        f.delay = delay;
        f.transparent = transparent;
        return f;
    };
    write(root + "/picture_frames_fuzz", "disposals.gif",
          testing_support::gifFile(6, 4, {0xFFFFFF, 0, 0xFF0000, 0x808080}, 3,
                                   {gifFrame(0, 0, 6, 4, 3, 1, 10, {}),
                                    gifFrame(1, 1, 2, 2, 1, 2, 0, {}),
                                    gifFrame(2, 0, 3, 3, 2, 3, 5, 0),
                                    gifFrame(0, 2, 6, 2, 1, 1, 5, 2)}));
    return 0;
}
