// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include "core/model/pixel_grid.h"
#include "core/model/rasterizers.h"

namespace core {

// The cells a flood fill from (column, row) reaches: the pressed cell and every cell joined to
// it through its four neighbours (not the diagonals) that has the same value. Each is reported
// once; nothing is reported for a cell off the picture. The picture itself is not changed.
void floodRegion(const PixelGrid& picture, int column, int row, const CellSink& cell);

} // namespace core
