#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "core/imaging/file_io.h"
#include "dotwell/ti83_picture_file.h"
#include "pixvane/ti92_picture_file.h"
#include "tests/support/tifiles_check.h"

namespace {

core::PixelGrid pattern(int rows, int columns) {
    core::PixelGrid grid(rows, columns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            grid.set(r, c, (r * 7 + c * 3) % 5 == 0);
    return grid;
}

struct Files {
    Files() {
        dotwell::PicFileBuffer buffer;
        buffer.applyTemplate(3);
        buffer.complete("bench.83i", "benchmark", pattern(63, 96));
        ti83 = dir.filePath("bench.83i");
        write(ti83, QByteArray(buffer.view().data(), 830));
        const auto file = pixvane::buildPicFile(pattern(103, 240), {"main", "bench", "benchmark"});
        ti92 = dir.filePath("bench.92i");
        write(ti92, QByteArray(reinterpret_cast<const char*>(file.data()), 3185));
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    QTemporaryDir dir;
    QString ti83, ti92;
};

Files& files() {
    static Files f;
    return f;
}

void BM_Dotwell83iOpenAndDecode(benchmark::State& state) {
    core::PixelGrid grid(63, 96);
    for (auto _ : state) {
        const core::FileRead read = core::readFileHead(files().ti83, 830);
        const auto buffer = dotwell::PicFileBuffer::fromFile(
            std::string_view(read.bytes.constData(), size_t(read.bytes.size())));
        buffer.decodePicture(grid);
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(BM_Dotwell83iOpenAndDecode)->Unit(benchmark::kMicrosecond);

void BM_Dotwell83iEncodeAndWrite(benchmark::State& state) {
    const core::PixelGrid grid = pattern(63, 96);
    const QString target = files().dir.filePath("out.83i");
    dotwell::PicFileBuffer buffer;
    for (auto _ : state) {
        buffer.complete("out.83i", "benchmark", grid);
        core::writeFileAtomically(target, QByteArray(buffer.view().data(), 830));
    }
}
BENCHMARK(BM_Dotwell83iEncodeAndWrite)->Unit(benchmark::kMicrosecond);

// The encoding alone, without the atomic write (temporary file, flush, rename).
void BM_Dotwell83iEncode(benchmark::State& state) {
    const core::PixelGrid grid = pattern(63, 96);
    dotwell::PicFileBuffer buffer;
    for (auto _ : state) {
        buffer.complete("out.83i", "benchmark", grid);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_Dotwell83iEncode)->Unit(benchmark::kMicrosecond);

void BM_Tifiles83iRead(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(testing_support::readWithTifiles(files().ti83, false));
}
BENCHMARK(BM_Tifiles83iRead)->Unit(benchmark::kMicrosecond);

void BM_Pixvane92iOpenAndDecode(benchmark::State& state) {
    core::PixelGrid grid(103, 240);
    for (auto _ : state) {
        const core::FileRead read = core::readFileHead(files().ti92, 3185);
        const auto result = pixvane::readPicFile(
            std::string_view(read.bytes.constData(), size_t(read.bytes.size())), grid);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_Pixvane92iOpenAndDecode)->Unit(benchmark::kMicrosecond);

void BM_Pixvane92iEncodeAndWrite(benchmark::State& state) {
    const core::PixelGrid grid = pattern(103, 240);
    const QString target = files().dir.filePath("out.92i");
    for (auto _ : state) {
        const auto file = pixvane::buildPicFile(grid, {"main", "bench", "benchmark"});
        core::writeFileAtomically(target,
                                  QByteArray(reinterpret_cast<const char*>(file.data()), 3185));
    }
}
BENCHMARK(BM_Pixvane92iEncodeAndWrite)->Unit(benchmark::kMicrosecond);

void BM_Pixvane92iEncode(benchmark::State& state) {
    const core::PixelGrid grid = pattern(103, 240);
    for (auto _ : state)
        benchmark::DoNotOptimize(pixvane::buildPicFile(grid, {"main", "bench", "benchmark"}));
}
BENCHMARK(BM_Pixvane92iEncode)->Unit(benchmark::kMicrosecond);

void BM_Tifiles92iRead(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(testing_support::readWithTifiles(files().ti92, false));
}
BENCHMARK(BM_Tifiles92iRead)->Unit(benchmark::kMicrosecond);

} // namespace
