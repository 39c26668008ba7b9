// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/series_numbering.h"

namespace core {

std::string seriesFileName(const std::string& output, int index) {
    const size_t slash = output.rfind('/');
    const size_t base = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = output.rfind('.');
    if (dot == std::string::npos || dot <= base) // no extension, or a name that is only one, such as ".ext"
        dot = output.size();
    return output.substr(0, dot) + "-" + std::to_string(index + 1) + output.substr(dot);
}

bool isSeriesName(const std::u32string& name) {
    return !name.empty() && name.back() == U'#';
}

std::optional<std::u32string> seriesName(const std::u32string& pattern, int index, size_t longest) {
    if (!isSeriesName(pattern) || index < 0)
        return std::nullopt;
    std::u32string name = pattern.substr(0, pattern.size() - 1);
    for (char c : std::to_string(index + 1))
        name += char32_t(c);
    if (name.size() > longest)
        return std::nullopt;
    return name;
}

} // namespace core
