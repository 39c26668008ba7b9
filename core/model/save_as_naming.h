// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/model/file_names.h"

namespace core {

// What Save As does with the chosen name.
enum class SaveAsKind { Calculator, Bitmap, Png, Refused };

// A Save As filter entry whose files are pictures of another kind than the calculator's.
struct PictureEntry {
    int filterIndex;            // 1-based
    std::string_view extension; // "bmp"
    SaveAsKind kind;
};

// One program's Save As naming: its calculator extensions and its other picture entries.
struct SaveAsNaming {
    std::vector<std::string_view> calculatorExtensions; // upper case: "82I", "83I"
    std::vector<PictureEntry> pictureEntries;
};

struct SaveAsTarget {
    std::string name; // with the entry's extension appended where it was missing
    SaveAsKind kind;
};

// Chosen in a picture entry, a name that does not end in the entry's extension gets it
// appended. Then a name ending in a picture extension (any letter case) takes that branch,
// one whose last characters, in upper case, are a calculator extension writes the calculator
// file, and any other name is refused.
SaveAsTarget saveAsTarget(const SaveAsNaming& naming, std::string name, int filterIndex);

} // namespace core
