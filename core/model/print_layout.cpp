// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/print_layout.h"

#include <cmath>

namespace core {

bool printable(const PageSettings& settings) {
    for (double inches : {settings.topMargin, settings.leftMargin, settings.imageWidth}) {
        if (!std::isfinite(inches) || inches < 0 || inches > kLargestPrintInches)
            return false;
    }
    return true;
}

PrintRect pictureArea(const PixelGrid& grid, const PageSettings& settings) {
    const double pitch = settings.imageWidth * kTwipsPerInch / grid.columns();
    const double y0 = settings.topMargin * kTwipsPerInch;
    const double x0 = settings.leftMargin * kTwipsPerInch;
    return {
        float(x0), float(y0), float(x0 + grid.columns() * pitch), float(y0 + grid.rows() * pitch),
        true,      0};
}

std::vector<PrintRect> printPage(const PixelGrid& grid, const PageSettings& settings,
                                 CellKind kind) {
    const double pitch = settings.imageWidth * kTwipsPerInch / grid.columns();
    const double y0 = settings.topMargin * kTwipsPerInch;
    const double x0 = settings.leftMargin * kTwipsPerInch;

    std::vector<PrintRect> page;
    for (int r = 0; r < grid.rows() && kind == CellKind::Monochrome; ++r) {
        for (int c = 0; c < grid.columns(); ++c) {
            if (grid.at(r, c) != 1)
                continue;
            page.push_back({float(x0 + c * pitch), float(y0 + r * pitch),
                            float(x0 + (c + 0.75) * pitch), float(y0 + (r + 0.75) * pitch), true,
                            0});
        }
    }
    page.push_back({float(x0 - 10), float(y0 - 10), float(x0 + grid.columns() * pitch + 10),
                    float(y0 + grid.rows() * pitch + 10), false, 5});
    return page;
}

} // namespace core
