// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QString>
#include <QValidator>

#include <optional>
#include <string>
#include <string_view>

namespace core {

// Refuses, as it is typed, any character that has no byte in Windows-1252, the code page the
// comment is stored in.
class Windows1252Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

std::u32string toU32(const QString& text);
QString fromU32(const std::u32string& text);
// Comment bytes for the file, or nothing when a character cannot be stored.
std::optional<std::string> commentBytes(const QString& text);
QString commentText(std::string_view bytes);

} // namespace core
