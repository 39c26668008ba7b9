// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace core {
namespace {

std::string fifteenDigits(double magnitude) {
    // to_chars ignores the C locale, so the point stays "." in every language.
    char buffer[40];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::general, 15)
            .ptr;
    std::string text(buffer, end);
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

std::string signedNumber(double value) {
    if (value == 0)
        return " 0";
    std::string digits = fifteenDigits(std::fabs(value));
    if (digits.starts_with("0."))
        digits.erase(0, 1);
    // Inserted rather than "-" + digits, which GCC 12 at -O2 and above misreads as an
    // overlapping copy (-Wrestrict, its bug 105651).
    digits.insert(digits.begin(), value < 0 ? '-' : ' ');
    return digits;
}

std::string plainNumber(double value) {
    if (value == 0)
        return "0";
    std::string digits = fifteenDigits(std::fabs(value));
    if (value < 0)
        digits.insert(digits.begin(), '-');
    return digits;
}

double leadingNumber(std::string_view text) {
    // Blanks anywhere inside the number are skipped, as in "- 1 .5".
    std::string number;
    size_t i = 0;
    auto skip = [&] {
        while (i < text.size() && isBlank(text[i]))
            ++i;
    };
    auto take = [&](auto accept) {
        bool any = false;
        for (skip(); i < text.size() && accept(text[i]); skip()) {
            number += text[i++];
            any = true;
        }
        return any;
    };
    auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };

    skip();
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number += text[i++];
    bool mantissa = take(isDigit);
    skip();
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        mantissa = take(isDigit) || mantissa;
    }
    if (!mantissa)
        return 0;
    skip();
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        const size_t mark = i;
        const std::string before = number;
        ++i;
        number += 'e';
        skip();
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            number += text[i++];
        if (!take(isDigit)) {
            number = before; // "1e" alone: the exponent does not fit
            i = mark;
        }
    }
    if (number.starts_with('+'))
        number.erase(0, 1); // from_chars takes no plus sign
    double v = 0;
    const auto [ptr, error] = std::from_chars(number.data(), number.data() + number.size(), v);
    (void)ptr;
    return error == std::errc{} && std::isfinite(v) ? v : 0;
}

} // namespace core
