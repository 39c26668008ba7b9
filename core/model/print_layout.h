#pragma once

#include <vector>

#include "core/model/page_settings.h"
#include "core/model/pixel_grid.h"

namespace core {

inline constexpr double kTwipsPerInch = 1440;

// One rectangle on the printed page, in twips from the printable area's top-left corner.
struct PrintRect {
    float x1, y1, x2, y2;
    bool filled;  // filled black square, or the outline frame
    int penWidth; // device pixels; for the frame
    bool operator==(const PrintRect&) const = default;
};

// The whole page: one black square of three quarters of the pitch per dark cell, row by row,
// then a frame 10 twips outside the picture.
std::vector<PrintRect> printPage(const PixelGrid& grid, const PageSettings& settings);

} // namespace core
