// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// Import of a large 1-bit bitmap through the window, answered Yes, against Qt's reader
// decoding the same file: time and peak memory.
#include <cstdio>

#include <malloc.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include "bench/bench_app.h"
#include "bench/harness.h"
#include "pixvane/frm_pixvane.h"
#include "tests/support/scripted_prompts.h"

namespace {

} // namespace

int main(int argc, char** argv) {
    // Every large buffer from fresh pages, so that a peak shows what each side allocates and
    // not what the allocator happened to keep.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    bench::choosePlatform();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QImage picture(4000, 4000, QImage::Format_Mono);
    picture.fill(1);
    for (int y = 0; y < 4000; y += 3)
        for (int x = (y * 7) % 5; x < 4000; x += 5)
            picture.setPixel(x, y, 0);
    const QString path = dir.filePath("big.bmp");
    picture.save(path, "BMP");

    testing_support::ScriptedPrompts prompts;
    pixvane::FrmPixvane window(prompts);
    window.endProgram = [] {};
    window.Form_Load(QString());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::printf("the window was never exposed\n");

    qint64 sink = 0;
    auto import = [&] {
        prompts.answerFile(path);
        prompts.answerMessage(core::Answer::Yes);
        window.miImport_Click();
        QApplication::processEvents();
        prompts.clear();
    };
    auto read = [&] {
        QImageReader reader(path);
        sink += reader.read().sizeInBytes();
    };
    const bench::Comparison time = bench::compare(import, read, 3);
    bench::report("import of a 4000 x 4000 1-bit BMP, Yes (anchor: QImageReader)", time, "us",
                  "ratio <= 3", time.ratio.median() <= 3);

    // Peak memory of each alone, alternating, from a reset high-water mark.
    bench::Comparison memory;
    for (int rep = 0; rep < 21; ++rep) {
        double used[2];
        for (int k = 0; k < 2; ++k) {
            const bool ours = (rep % 2 == 0) == (k == 0);
            bench::resetPeak();
            const double before = bench::peakMegabytes();
            ours ? import() : read();
            used[ours ? 0 : 1] = bench::peakMegabytes() - before;
        }
        memory.ours.values.push_back(used[0]);
        memory.anchor.values.push_back(used[1]);
        memory.ratio.values.push_back(used[1] > 0 ? used[0] / used[1] : 0);
    }
    bench::report("  its peak memory (anchor: QImageReader's)", memory, "MiB", "ratio <= 2",
                  memory.ratio.median() <= 2);
    std::printf("  (%lld bytes decoded)\n", sink);
    return 0;
}
