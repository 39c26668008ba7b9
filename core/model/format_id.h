// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

namespace core {

// The calculator picture file formats, in the order the programs list them. A document knows
// its format by this; everything else about a format is in core/formats' registry.
enum class FormatId { Ti82, Ti83, Ti83Plus, Ti92, Ti92Plus, Voyage200 };

// What a picture of a format holds besides its cells, and so what its editor shows:
// the TI-82/83 family's PIC number and file image, or the 68k family's folder and name.
enum class Family { Ti83, Ti92 };

} // namespace core
