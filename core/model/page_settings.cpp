// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/page_settings.h"

#include "core/model/number_text.h"

namespace core {

std::string floorReplacement(std::string_view fieldText, FieldFloor floor) {
    if (leadingNumber(fieldText) < floor.minimum)
        return std::string(floor.replacement);
    return {};
}

std::string steppedText(std::string_view fieldText, double step) {
    return signedNumber(leadingNumber(fieldText) + step);
}

} // namespace core
