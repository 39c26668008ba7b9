// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/save_as_naming.h"

namespace core {

SaveAsTarget saveAsTarget(const SaveAsNaming& naming, std::string name, int filterIndex) {
    for (const PictureEntry& entry : naming.pictureEntries) {
        if (entry.filterIndex == filterIndex && !endsWithNoCase(name, entry.extension))
            name.append(1, '.').append(entry.extension);
    }
    for (const PictureEntry& entry : naming.pictureEntries) {
        if (endsWithNoCase(name, entry.extension))
            return {std::move(name), entry.kind};
    }
    for (std::string_view extension : naming.calculatorExtensions) {
        if (endsWithNoCase(name, extension))
            return {std::move(name), SaveAsKind::Calculator};
    }
    return {std::move(name), SaveAsKind::Refused};
}

} // namespace core
