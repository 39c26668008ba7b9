// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>
#include <optional>

#include "core/formats/format_registry.h"
#include "core/model/pixel_grid.h"
#include "core/platform/prompts.h"

class QMenu;
class QWidget;

namespace core {

// File > New Picture: one item for each calculator of the program, named with its size.
void addNewPictureItems(QMenu* menu, Program program, std::function<void(FormatId)> chosen);

// The cells a file of `format` holds of `picture`: the picture itself, or (another
// calculator's size) its top left on that size, after asking when dark cells would be lost.
// Nothing when the user keeps the picture as it is.
std::optional<PixelGrid> pictureAtSizeOf(const FormatDescriptor& format, const PixelGrid& picture,
                                         Prompts& prompts, QWidget* parent);

class ConvertCommand;

// The cells a file of `format` holds of a picture whose cells are of `kind`: of the same kind,
// as pictureAtSizeOf gives them; a monochrome picture on a colour calculator black on white at
// its top left (asking whether white is none, where the file can hold none); a colour picture
// on a monochrome calculator through Convert Image. Nothing when the user cancels.
std::optional<PixelGrid> pictureForFormat(const FormatDescriptor& format, const PixelGrid& picture,
                                          CellKind kind, Prompts& prompts, QWidget* parent,
                                          ConvertCommand& convert);

} // namespace core
