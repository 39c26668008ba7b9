// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <optional>
#include <string>

namespace core {

// How a series of pictures (an animation's frames, a batch of files) is named, so that on the
// calculator each one has a variable of its own and on the computer a file of its own. The
// PIC numbers of a series are the format registry's (core::seriesPicNumber).

// The variable name of picture `index` for a name ending in '#': the '#' replaced by the
// picture's number from 1 ("frame#" gives frame1, frame2 ...). None when the name has no
// trailing '#' or the number makes it longer than `longest` characters.
std::optional<std::u32string> seriesName(const std::u32string& pattern, int index, size_t longest);

// The file of picture `index` of a series written to `output`: its number from 1 before the
// extension ("frame.ext" gives frame-1.ext, frame-2.ext ...; "out/frame" gives out/frame-1).
std::string seriesFileName(const std::string& output, int index);

// Whether a name asks to be numbered: it ends in '#'.
bool isSeriesName(const std::u32string& name);

} // namespace core
