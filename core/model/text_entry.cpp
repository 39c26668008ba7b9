// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/text_entry.h"

namespace core {

void TextEntry::start(int column, int row, Lettering lettering, Ink ink) {
    m_active = true;
    m_column = column;
    m_row = row;
    m_lettering = lettering;
    m_ink = ink;
    m_text.clear();
}

void TextEntry::moveTo(int column, int row) {
    m_column = column;
    m_row = row;
}

void TextEntry::end() {
    m_active = false;
    m_text.clear();
}

bool TextEntry::type(char32_t code) {
    if (!m_active || !glyphOf(m_lettering, code))
        return false;
    m_text += code;
    return true;
}

bool TextEntry::backspace() {
    if (m_text.empty())
        return false;
    m_text.pop_back();
    return true;
}

std::vector<std::pair<int, int>> TextEntry::cells() const {
    std::vector<std::pair<int, int>> out;
    layOutText(m_lettering, m_text, m_column, m_row,
               [&out](int column, int row) { out.emplace_back(column, row); });
    return out;
}

CellRect TextEntry::caret() const {
    const int next = layOutText(m_lettering, m_text, m_column, m_row, [](int, int) {});
    return {next, m_row, 1, glyphRows(m_lettering)};
}

} // namespace core
