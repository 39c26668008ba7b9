// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/formats/format_registry.h"
#include "core/formats/ti83_picture_file.h"
#include "core/formats/ti83plus_picture_file.h"
#include "core/formats/ti92_picture_file.h"
#include "core/model/pixel_grid.h"

// Any bytes, as a .92i (.9xi, .v2i) file, as a .82i/.83i and as a .8xi, and as every format
// of the registry: a clean result or a clean error, and what reads writes back to the same
// picture.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    core::PixelGrid grid(103, 240);
    const auto result = core::readTi92File(bytes, grid);
    if (std::holds_alternative<core::Ti92Picture>(result)) {
        const auto& picture = std::get<core::Ti92Picture>(result);
        if (picture.texts.folder.size() > 8 || picture.texts.variable.size() > 8 ||
            picture.texts.comment.size() > 40)
            __builtin_trap();
    }
    core::PixelGrid small(63, 96);
    core::PicFileBuffer::fromFile(bytes).decodePicture(small);
    const auto plus = core::readTi83PlusFile(bytes);
    if (std::holds_alternative<core::Ti83PlusPicture>(plus)) {
        const auto& picture = std::get<core::Ti83PlusPicture>(plus);
        picture.buffer.decodePicture(small);
        // What was read writes back in the 13-byte layout with the same picture.
        const auto again = core::buildTi83PlusFile(picture.buffer, picture.archived);
        const auto reread = core::readTi83PlusFile(
            std::string_view(reinterpret_cast<const char*>(again.data()), again.size()));
        if (!std::holds_alternative<core::Ti83PlusPicture>(reread) ||
            std::get<core::Ti83PlusPicture>(reread).buffer.pictureBytes() !=
                picture.buffer.pictureBytes())
            __builtin_trap();
    }
    for (const core::FormatDescriptor& format : core::allFormats()) {
        auto read = core::readPicture(bytes, format.id);
        core::examinePicture(bytes, size, format.id);
        auto* picture = std::get_if<core::CalculatorPicture>(&read);
        if (!picture)
            continue;
        const core::PixelGrid cells = picture->grid;
        const auto written = core::writePicture(*picture, format.id);
        const auto* file = std::get_if<std::vector<std::uint8_t>>(&written);
        if (!file)
            continue; // a name this format's calculator refuses: said, not written
        const auto again = core::readPicture(
            std::string_view(reinterpret_cast<const char*>(file->data()), file->size()),
            format.id);
        if (!std::holds_alternative<core::CalculatorPicture>(again) ||
            std::get<core::CalculatorPicture>(again).grid != cells)
            __builtin_trap();
    }
    return 0;
}
