// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

namespace core {

// The calculator picture file formats, in the order the programs list them. A document knows
// its format by this; everything else about a format is in core/formats' registry.
enum class FormatId {
    Ti82, Ti83, Ti83Plus, Ti73, Ti85, Ti86, // dotwell's
    Ti84CePicture, Ti84CeImage,             // colour
    Ti92, Ti92Plus, Voyage200, Ti89          // pixvane's
};

// What a picture of a format holds besides its cells, and so what its editor shows:
// the TI-82/83 family's PIC number and file image, the TI-85/86's variable name, or the
// 68k family's folder and name.
enum class Family { Ti83, Ti85, Ti92 };

} // namespace core
