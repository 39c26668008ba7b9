// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "calcpic/picture_formats.h"

#include <array>

#include "core/model/file_names.h"

namespace calcpic {
namespace {

constexpr std::array<FormatInfo, 8> kFormats{{
    {Format::Ti82, "82i", Family::Ti83, "TI-82", "**TI82**"},
    {Format::Ti83, "83i", Family::Ti83, "TI-83", "**TI83**"},
    {Format::Ti83Plus, "8xi", Family::Ti83, "TI-83 Plus / TI-84 Plus", "**TI83F*"},
    {Format::Ti92, "92i", Family::Ti92, "TI-92", "**TI92**"},
    {Format::Ti92Plus, "9xi", Family::Ti92, "TI-92 Plus", "**TI92P*"},
    {Format::Voyage200, "v2i", Family::Ti92, "Voyage 200", "**TI92P*"},
    {Format::Png, "png", Family::Image, "", ""},
    {Format::Bmp, "bmp", Family::Image, "", ""},
}};

} // namespace

const FormatInfo& infoOf(Format format) {
    return kFormats[size_t(format)];
}

Family familyOf(Format format) {
    return infoOf(format).family;
}

bool isCalculator(Format format) {
    return familyOf(format) != Family::Image;
}

std::optional<Format> formatNamed(std::string_view extension) {
    for (const FormatInfo& info : kFormats) {
        if (extension.size() == info.extension.size() &&
            core::endsWithNoCase(extension, info.extension))
            return info.format;
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
    for (const FormatInfo& info : kFormats) {
        if (!info.signature.empty() && bytes.substr(0, 8) == info.signature)
            return info.format; // the .9xi comes before the .v2i
    }
    return std::nullopt;
}

std::optional<std::string_view> otherCalculator(std::string_view bytes) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kOthers{
        {{"**TI73**", "TI-73"}, {"**TI85**", "TI-85"}, {"**TI86**", "TI-86"}}};
    for (const auto& [signature, model] : kOthers) {
        if (bytes.substr(0, 8) == signature)
            return model;
    }
    return std::nullopt;
}

int rowsOf(Family family) {
    return family == Family::Ti83 ? 63 : family == Family::Ti92 ? 103 : 0;
}

int columnsOf(Family family) {
    return family == Family::Ti83 ? 96 : family == Family::Ti92 ? 240 : 0;
}

} // namespace calcpic
