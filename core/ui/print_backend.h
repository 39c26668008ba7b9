// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <vector>

#include "core/model/print_layout.h"
#include "core/platform/prompts.h"

class QPrinter;
class QWidget;

namespace core {

// The printer resolution pages are played at: the frame's 5-pixel pen is then 0.42 mm, the
// heavy frame it is meant to be (at 1200 dpi it would be a 0.1 mm hairline).
inline constexpr int kPrintDotsPerInch = 300;

// Plays a page in twips on the printer, from its printable area's top-left corner.
// False when the printer could not be started.
bool playPage(QPrinter& printer, const std::vector<PrintRect>& page);

// The Print command: refuses a page setup no printer can take, asks for the printer, plays the
// page. Cancel and printer failures end it silently.
void printPicture(QWidget* window, Prompts& prompts, const PixelGrid& grid,
                  const PageSettings& settings);

} // namespace core
