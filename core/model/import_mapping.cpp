// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/import_mapping.h"

namespace core {

ImportScan importScan(const CalculatorProfile& profile, int width, int height) {
    return importScan(profile, profile.rows, profile.columns, width, height);
}

ImportScan importScan(const CalculatorProfile& base, int rows, int columns, int width,
                      int height) {
    CalculatorProfile profile = base;
    const int moreRows = rows - base.rows, moreColumns = columns - base.columns;
    profile.importRowCentre += moreRows / 2;
    profile.importColumnCentre += moreColumns / 2;
    profile.importLargeRows += moreRows;
    profile.importLargeColumns += moreColumns;
    const int past = profile.importScansOnePast ? 0 : 1;
    ImportScan scan{};
    if (height >= profile.importLargeRows) {
        scan.lastRow = profile.importLargeRows - 1;
        scan.rowOffset = 0;
    } else {
        scan.lastRow = height - past;
        scan.rowOffset = profile.importRowCentre - height / 2;
    }
    if (width >= profile.importLargeColumns) {
        scan.lastColumn = profile.importLargeColumns - 1;
        scan.columnOffset = 0;
    } else {
        scan.lastColumn = width - past;
        scan.columnOffset = profile.importColumnCentre - width / 2;
    }
    return scan;
}

void overlayBlackPixels(const ImportScan& scan, const std::function<bool(int x, int y)>& isBlack,
                        const CellSink& plot) {
    for (int y = 0; y <= scan.lastRow; ++y) {
        for (int x = 0; x <= scan.lastColumn; ++x) {
            if (isBlack(x, y))
                plot(x + scan.columnOffset, y + scan.rowOffset);
        }
    }
}

} // namespace core
