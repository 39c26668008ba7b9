// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <vector>

#include "core/model/cell_kind.h"
#include "core/model/print_layout.h"
#include "core/platform/prompts.h"

class QPainter;
class QPrinter;
class QWidget;

namespace core {

// The printer resolution pages are played at: the frame's 5-pixel pen is then 0.42 mm, the
// heavy frame it is meant to be (at 1200 dpi it would be a 0.1 mm hairline).
inline constexpr int kPrintDotsPerInch = 300;

// Plays a page in twips on the printer, from its printable area's top-left corner.
// False when the printer could not be started.
bool playPage(QPrinter& printer, const std::vector<PrintRect>& page);
// The same on a painter already scaled to twips.
void paintPage(QPainter& painter, const std::vector<PrintRect>& page);
// The picture's page on a painter scaled to twips: a colour picture's cells as one image over
// pictureArea, a square of its colour per cell (a palette's none left as paper), then the
// frame; a monochrome one as printPage's squares.
void paintPicture(QPainter& painter, const PixelGrid& grid, const PageSettings& settings,
                  CellKind kind);

// The Print command: refuses a page setup no printer can take, asks for the printer, prints
// the picture (in colour on a colour printer; a grey one's driver makes grey levels of it).
// Cancel and printer failures end it silently.
void printPicture(QWidget* window, Prompts& prompts, const PixelGrid& grid,
                  const PageSettings& settings, CellKind kind = CellKind::Monochrome);

} // namespace core
