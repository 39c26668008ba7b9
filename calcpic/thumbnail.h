// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <ostream>
#include <string>
#include <variant>

#include <QImage>
#include <QString>

#include "calcpic/command_line.h"
#include "core/model/colour_conversion.h"
#include "core/model/pixel_grid.h"

namespace calcpic {

// The picture as a file manager shows it: black cells on the calculator's screen colour (a
// colour picture in its colours, no colour transparent), each cell the largest whole number of
// pixels that keeps the long side within `size`, so the cells stay crisp; a screen wider than
// `size` is scaled down smoothly to fit instead. The aspect is kept either way.
QImage thumbnailImage(const core::PixelGrid& grid, int size,
                      core::CellKind kind = core::CellKind::Monochrome);

// The thumbnail of the calculator file at `path`, or the reason there is none.
std::variant<QImage, std::string> thumbnailOf(const QString& path, int size);

// `calcpic thumbnail [-s SIZE] INPUT OUTPUT`: writes the PNG, replacing OUTPUT (a file
// manager hands over a fresh temporary name, sometimes already created), never the input.
int runThumbnail(const Request& request, std::ostream& err);

} // namespace calcpic
