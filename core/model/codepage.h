// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

// Windows-1252, the code page of the PC link software, for comment fields.
std::u32string decodeWindows1252(std::string_view bytes);
// Empty when a character has no Windows-1252 byte: such text must not be written silently.
std::optional<std::string> encodeWindows1252(std::u32string_view text);
bool isWindows1252(char32_t c);

// UTF-8, for texts on a command line and a terminal. An ill-formed byte decodes as U+FFFD.
std::string toUtf8(std::u32string_view text);
std::u32string fromUtf8(std::string_view bytes);

// The text of a fixed-width field up to its first NUL byte.
std::string_view untilNul(std::string_view field);

} // namespace core
