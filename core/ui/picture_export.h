// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QImage>
#include <QString>

#include "core/model/cell_kind.h"
#include "core/model/pixel_grid.h"
#include "core/platform/prompts.h"

class QWidget;

namespace core {

// Save As to a picture that is not a calculator file (a bitmap, a PNG image): writes it,
// then says that it is saved, or `failure` with the file and the reason.
void exportPicture(QWidget* window, Prompts& prompts, const QImage& image, const QString& path,
                   const char* format, const QString& failure);

// Save As's picture branches: a bitmap of the canvas as it shows the picture (`canvas`, just
// rebuilt from the grid, so that no rubber band goes into the file), or a PNG image of one
// pixel per calculator pixel, black on white, as the calculator shows it (a colour picture in
// its colours, a palette's none transparent).
void exportBitmap(QWidget* window, Prompts& prompts, const QImage& canvas, const QString& path);
void exportPng(QWidget* window, Prompts& prompts, const PixelGrid& picture, const QString& path,
               CellKind kind = CellKind::Monochrome);

} // namespace core
