// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/model/cell_rect.h"
#include "core/model/draw_tool.h"
#include "core/model/lettering.h"

namespace core {

// A line of text being typed on the picture: where it starts, in which lettering and ink, and
// what has been typed. It changes no cell; its cells are what the canvas previews and what
// the commit writes.
class TextEntry {
public:
    bool active() const { return m_active; }
    // A new line with its first glyph's top-left at (column, row).
    void start(int column, int row, Lettering lettering, Ink ink);
    void moveTo(int column, int row);
    void end();

    // False, and nothing typed, for a character the lettering lacks.
    bool type(char32_t code);
    // False when there is nothing to take back.
    bool backspace();
    void setLettering(Lettering lettering) { m_lettering = lettering; }

    const std::u32string& text() const { return m_text; }
    int column() const { return m_column; }
    int row() const { return m_row; }
    Lettering lettering() const { return m_lettering; }
    Ink ink() const { return m_ink; }

    // The dark cells of the glyphs as (column, row), some perhaps past the picture's edges.
    std::vector<std::pair<int, int>> cells() const;
    // Where the next glyph goes: one column wide, a glyph high.
    CellRect caret() const;

private:
    bool m_active = false;
    int m_column = 0;
    int m_row = 0;
    Lettering m_lettering = Lettering::Small;
    Ink m_ink = Ink::Set;
    std::u32string m_text;
};

} // namespace core
