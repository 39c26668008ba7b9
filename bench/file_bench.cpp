// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// Both calculator formats read from disk and decoded, against the link software's own library
// reading the same files.
#include <cstdio>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "bench/harness.h"
#include "core/formats/ti83_picture_file.h"
#include "core/formats/ti92_picture_file.h"
#include "core/imaging/file_io.h"
#include "tests/support/tifiles_check.h"

namespace {

core::PixelGrid pattern(int rows, int columns) {
    core::PixelGrid grid(rows, columns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            grid.set(r, c, (r * 7 + c * 3) % 5 == 0);
    return grid;
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;

    const auto ti92 = core::buildTi92File(pattern(103, 240), {"main", "bench", "benchmark"});
    const std::string_view ti92Bytes(reinterpret_cast<const char*>(ti92.data()), ti92.size());
    const QString ti92Path = dir.filePath("bench.92i");
    write(ti92Path, QByteArray(ti92Bytes.data(), qsizetype(ti92Bytes.size())));
    // Both sides read the file from disk and decode it: ours as the editors read it (the file's
    // head through core::readFileHead), libtifiles its own way.
    core::PixelGrid grid92(103, 240);
    std::uint8_t sink = 0;
    const bench::Comparison c92 = bench::compare(
        [&] {
            const core::FileRead read = core::readFileHead(ti92Path, 1 << 20);
            const auto picture = core::readTi92File(
                std::string_view(read.bytes.constData(), size_t(read.bytes.size())), grid92);
            sink ^= std::uint8_t(std::get<core::Ti92Picture>(picture).texts.comment.size());
        },
        [&] { sink ^= testing_support::readWithTifiles(ti92Path, false).storedChecksum; }, 200);
    bench::report(".92i read from disk and decoded (anchor: libtifiles reading it)", c92, "us",
                  "ratio <= 1", c92.ratio.median() <= 1);

    core::PicFileBuffer ti83;
    ti83.applyTemplate(3);
    ti83.complete("bench.83i", "benchmark", pattern(63, 96));
    const std::string ti83Bytes(ti83.view());
    const QString ti83Path = dir.filePath("bench.83i");
    write(ti83Path, QByteArray(ti83Bytes.data(), qsizetype(ti83Bytes.size())));
    core::PixelGrid grid83(63, 96);
    const bench::Comparison c83 = bench::compare(
        [&] {
            const core::FileRead read = core::readFileHead(ti83Path, 1 << 20);
            core::PicFileBuffer buffer = core::PicFileBuffer::fromFile(
                std::string_view(read.bytes.constData(), size_t(read.bytes.size())));
            buffer.decodePicture(grid83);
            sink ^= std::uint8_t(grid83.at(5, 5));
        },
        [&] { sink ^= testing_support::readWithTifiles(ti83Path, false).storedChecksum; }, 200);
    bench::report(".83i read from disk and decoded (anchor: libtifiles reading it)", c83, "us",
                  "ratio <= 1", c83.ratio.median() <= 1);
    std::printf("  (checksum sink %u)\n", unsigned(sink));
    return 0;
}
