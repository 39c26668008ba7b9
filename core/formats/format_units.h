// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <vector>

#include "core/formats/format_registry.h"

// Inside the formats layer only: each unit adds its formats' descriptors to the registry.
namespace core {

void addTi83Formats(std::vector<FormatDescriptor>& formats);     // .82i, .83i
void addTi83PlusFormats(std::vector<FormatDescriptor>& formats); // .8xi
void addTi84CeFormats(std::vector<FormatDescriptor>& formats);   // .8ci, .8ca
void addTi85Formats(std::vector<FormatDescriptor>& formats);     // .85i, .86i
void addTi92Formats(std::vector<FormatDescriptor>& formats);     // .92i, .9xi, .v2i, .89i

// The TI-82/83 family's report, for the .82i/.83i and the .8xi layouts alike.
void examineTi83Family(std::string_view bytes, std::uint64_t fileSize,
                       const CalculatorPicture& read, FileReport& report);

} // namespace core
