// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <string>
#include <string_view>

namespace core {

// Numbers as the editor writes and reads them in its text fields and status bar; "." is the
// decimal point whatever the locale.

// Leading blank for 0 and above, "-" for negatives, at most 15 significant digits, no zero
// before the point: 12 -> " 12", -1 -> "-1", 0.9 -> " .9", -0.1 -> "-.1".
std::string signedNumber(double value);

// Shortest form without a leading blank: "1", "4", "1.5", "0.5".
std::string plainNumber(double value);

// The leading decimal number of a text: blanks skipped, optional sign and exponent; reading
// stops at the first character that does not fit; 0 when there is no number.
double leadingNumber(std::string_view text);

} // namespace core
