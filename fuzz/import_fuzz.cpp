// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <cstddef>
#include <cstdint>

#include <QByteArray>

#include "core/imaging/picture_loader.h"
#include "core/model/calculator_profile.h"
#include "core/model/import_mapping.h"
#include "core/model/pixel_grid.h"
#include "fuzz/fuzz_app.h"

// The whole import path of both programs on any bytes: load, scan, plot.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    ensureFuzzApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const core::CalculatorProfile* profile :
         {&core::CalculatorProfile::dotwell(), &core::CalculatorProfile::pixvane()}) {
        const core::LoadedPicture picture =
            core::loadPictureData(bytes, QSize(profile->columns + 1, profile->rows + 1));
        if (!picture.error.isEmpty())
            continue;
        core::PixelGrid grid(profile->rows, profile->columns);
        core::overlayBlackPixels(
            core::importScan(*profile, picture.size.width(), picture.size.height()),
            [&](int x, int y) { return core::isExactlyBlack(picture.image, x, y); },
            [&](int column, int row) {
                if (grid.contains(row, column))
                    grid.set(row, column, 1);
            });
    }
    return 0;
}
