// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "calcpic/picture_formats.h"

#include "core/model/file_names.h"

namespace calcpic {
namespace {

constexpr std::pair<std::string_view, Format::Image> kImages[] = {{"png", Format::Image::Png},
                                                                  {"bmp", Format::Image::Bmp}};

} // namespace

std::string_view Format::extension() const {
    if (calculator)
        return calculator->extension;
    return image == Image::Png ? "png" : "bmp";
}

bool Format::sameScreen(const Format& other) const {
    return calculator && other.calculator && calculator->family == other.calculator->family &&
           calculator->picture.columns == other.calculator->picture.columns &&
           calculator->picture.rows == other.calculator->picture.rows;
}

std::optional<Format> formatNamed(std::string_view extension) {
    for (const core::FormatDescriptor& f : core::allFormats()) {
        if (extension.size() == f.extension.size() && core::endsWithNoCase(extension, f.extension))
            return Format{&f};
    }
    for (const auto& [name, image] : kImages) {
        if (extension.size() == name.size() && core::endsWithNoCase(extension, name))
            return Format{nullptr, image};
    }
    return std::nullopt;
}

std::optional<Format> formatOfName(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    const size_t slash = fileName.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::nullopt;
    return formatNamed(fileName.substr(dot + 1));
}

std::optional<Format> formatOfSignature(std::string_view bytes) {
    if (const core::FormatDescriptor* f = core::formatForContent(bytes))
        return Format{f};
    return std::nullopt;
}

std::string extensionList() {
    std::string list;
    for (const core::FormatDescriptor& f : core::allFormats())
        list += std::string(f.extension) + ", ";
    return list + "png or bmp";
}

} // namespace calcpic
