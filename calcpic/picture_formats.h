// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/formats/format_registry.h"

namespace calcpic {

// A file calcpic reads or writes: a calculator's picture, as the registry describes it, or an
// image.
struct Format {
    enum class Image { Png, Bmp };

    const core::FormatDescriptor* calculator = nullptr; // none for an image
    Image image = Image::Png;

    bool isCalculator() const { return calculator != nullptr; }
    std::string_view extension() const;
    // Two calculator formats whose pictures are the same screen's: a picture moves between
    // them as it is.
    bool sameScreen(const Format& other) const;
    bool operator==(const Format& other) const {
        return calculator == other.calculator && (calculator || image == other.image);
    }
};

// "83i", "PNG": the format of that extension, in any letter case.
std::optional<Format> formatNamed(std::string_view extension);
// By the name's last extension: "photo.83I".
std::optional<Format> formatOfName(std::string_view fileName);
// A calculator file recognised by its signature, for a name that does not say what it is.
std::optional<Format> formatOfSignature(std::string_view bytes);
// Every extension calcpic writes, for messages: "82i, 83i, ..., png or bmp".
std::string extensionList();

} // namespace calcpic
