// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <optional>

#include <QImage>

#include "core/imaging/picture_conversion_source.h"

#include "core/model/calculator_profile.h"
#include "core/model/pixel_grid.h"
#include "core/platform/prompts.h"

class QMimeData;
class QWidget;

namespace core {

// File > Convert Image and Paste: the picture to convert, asked for or given, and the dialog
// that turns it into cells. What an OK changes is the window's.
class ConvertCommand {
public:
    ConvertCommand(const CalculatorProfile& profile, Prompts& prompts, QWidget* window)
        : m_profile(profile), m_prompts(prompts), m_window(window) {}

    // Asks for a picture file; nothing when the user cancels or it cannot be read (said).
    // `kind`: what the cells of `current` hold.
    std::optional<PixelGrid> fromFile(const PixelGrid& current, CellKind kind);
    // The picture on the clipboard; nothing when there is none or it cannot be read (said).
    std::optional<PixelGrid> fromClipboard(const QMimeData* data, const PixelGrid& current,
                                           CellKind kind);
    // The cells OK gives for `picture` with `current` on the canvas, or nothing on Cancel.
    std::optional<PixelGrid> fromPicture(const PictureToConvert& picture, const PixelGrid& current,
                                         CellKind kind = CellKind::Monochrome);

private:
    void refuse(const QString& text);

    const CalculatorProfile& m_profile;
    Prompts& m_prompts;
    QWidget* m_window;
};

} // namespace core
