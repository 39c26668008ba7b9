// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>

#include "core/model/calculator_profile.h"
#include "core/model/rasterizers.h"

namespace core {

// How far the import scans a picture of w x h pixels and where a small one is centred.
struct ImportScan {
    int lastRow;
    int lastColumn;
    int rowOffset;
    int columnOffset;
};

ImportScan importScan(const CalculatorProfile& profile, int width, int height);
// For a picture of `rows` x `columns` cells, other than the profile's: the centre and the
// bounds move with its size, as the profile's own follow its picture's.
ImportScan importScan(const CalculatorProfile& profile, int rows, int columns, int width,
                      int height);

// Plots cell (y + rowOffset, x + columnOffset) for every exactly-black pixel in the scan.
// isBlack must answer false for coordinates outside the picture.
void overlayBlackPixels(const ImportScan& scan, const std::function<bool(int x, int y)>& isBlack,
                        const CellSink& plot);

} // namespace core
