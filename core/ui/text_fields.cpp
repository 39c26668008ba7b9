// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/text_fields.h"

#include "core/model/codepage.h"

namespace core {

QValidator::State Windows1252Validator::validate(QString& input, int&) const {
    for (char32_t c : toU32(input)) {
        if (!isWindows1252(c))
            return Invalid;
    }
    return Acceptable;
}

std::u32string toU32(const QString& text) {
    return text.toStdU32String();
}
QString fromU32(const std::u32string& text) {
    return QString::fromStdU32String(text);
}

std::optional<std::string> commentBytes(const QString& text) {
    return encodeWindows1252(toU32(text));
}

QString commentText(std::string_view bytes) {
    return fromU32(decodeWindows1252(bytes));
}

} // namespace core
