// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/formats/format_registry.h"

namespace core {

// Sentences about the formats for help texts, manual pages, desktop files and the README,
// made from the registry so that a new format shows everywhere at once.

// "a", "a and b", "a, b and c" (`last` in place of "and").
std::string joinedList(const std::vector<std::string>& items, std::string_view last = "and");

// The formats that pass `which` (all of them by default), each as "82i" or ".82i".
std::vector<std::string> extensions(const std::function<bool(const FormatDescriptor&)>& which = {},
                                    bool dots = false);
// Every calculator model of these formats (a program's: those its editor opens), each once:
// "TI-82", "TI-83 Plus"...
std::vector<std::string> models(std::optional<Program> program = std::nullopt);
// "TI-82, TI-83, TI-83 Plus and TI-84 Plus (96 x 63 pixels: .82i, .83i, .8xi)" for each
// picture size, joined with "and".
std::string picturesBySize(std::optional<Program> program = std::nullopt);

} // namespace core
