#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "core/imaging/picture_loader.h"
#include "core/model/calculator_profile.h"
#include "core/model/import_mapping.h"

namespace {

struct BigBitmap {
    BigBitmap() {
        QImage image(4000, 4000, QImage::Format_RGB888);
        for (int y = 0; y < image.height(); ++y) {
            uchar* line = image.scanLine(y);
            for (int x = 0; x < image.width() * 3; ++x)
                line[x] = uchar((x * 13 + y * 7) & 0xFF);
        }
        path = dir.filePath("big.bmp");
        image.save(path, "BMP");
    }
    QTemporaryDir dir;
    QString path;
};

BigBitmap& bitmap() {
    static BigBitmap b;
    return b;
}

// What the import does with a picture: load it, then scan what reaches the grid.
void BM_Import4000x4000Bmp(benchmark::State& state) {
    const auto& profile = core::CalculatorProfile::pixvane();
    for (auto _ : state) {
        const core::LoadedPicture picture =
            core::loadPicture(bitmap().path, QSize(profile.columns + 1, profile.rows + 1));
        int dark = 0;
        core::overlayBlackPixels(
            core::importScan(profile, picture.size.width(), picture.size.height()),
            [&](int x, int y) { return core::isExactlyBlack(picture.image, x, y); },
            [&](int, int) { ++dark; });
        benchmark::DoNotOptimize(dark);
    }
}
BENCHMARK(BM_Import4000x4000Bmp)->Unit(benchmark::kMillisecond);

// Qt decoding the same file and nothing else.
void BM_QImageReaderDecodeAlone(benchmark::State& state) {
    for (auto _ : state) {
        QImageReader reader(bitmap().path);
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_QImageReaderDecodeAlone)->Unit(benchmark::kMillisecond);

} // namespace
