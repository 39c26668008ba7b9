// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <string>
#include <vector>

#include "core/model/pixel_grid.h"

namespace testing_support {

// A grid region as rows of '#' (1) and '.' (0), so a failing comparison prints a picture.
std::string gridPicture(const core::PixelGrid& grid, int top, int left, int rows, int columns);

// Cells reported by a rasteriser, as a picture of the given region.
std::string cellsPicture(const std::vector<std::pair<int, int>>& cells, int top, int left, int rows,
                         int columns);

// How many cells are dark.
int darkCells(const core::PixelGrid& grid);

// Joins picture rows with newlines: picture({"#..", ".#."}).
std::string picture(std::initializer_list<const char*> rows);

// A grid drawn as rows of '#' (1) and '.' (0), all of one length.
core::PixelGrid gridFrom(std::initializer_list<const char*> rows);

} // namespace testing_support
