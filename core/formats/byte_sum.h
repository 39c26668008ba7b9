// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>

namespace core {

// The checksum of the calculators' link files: the sum of the bytes, its low 16 bits. The
// unsigned sum may wrap; its low 16 bits stay right.
template <class Iterator> std::uint16_t byteSum16(Iterator first, Iterator last) {
    unsigned sum = 0;
    for (; first != last; ++first)
        sum += static_cast<std::uint8_t>(*first);
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

} // namespace core
