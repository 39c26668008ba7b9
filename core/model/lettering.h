// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/model/rasterizers.h"

namespace core {

// The Text tools' two letterings, drawn for these programs in the manner of the calculators'
// own: the graph screen's small one, five rows high with glyphs as wide as they need, and the
// home screen's large one, five by seven in a cell of six by eight. Both cover printable ASCII
// and the Greek letters the TI-92 family writes.
enum class Lettering { Small, Large };

// One glyph's cells, read from its drawing.
class Glyph {
public:
    explicit Glyph(std::string_view art);
    int width() const { return m_width; }
    int height() const { return m_height; }
    bool dark(int column, int row) const;

private:
    std::string_view m_art;
    int m_width;
    int m_height;
};

// The glyph of a character, or nothing when the lettering has none.
std::optional<Glyph> glyphOf(Lettering lettering, char32_t code);
// Every character the lettering has, in its table's order.
std::u32string letteringCharacters(Lettering lettering);
// A glyph's rows, and the rows a line of text takes with the gap under it.
int glyphRows(Lettering lettering);
int lineRows(Lettering lettering);
// How far the next glyph starts after this one: its width and a clear column.
int advance(Lettering lettering, const Glyph& glyph);

// Lays `text` out from the cell (left, top), the top-left of its first glyph, and reports each
// dark cell; characters the lettering lacks are passed over. Returns the column where the next
// glyph would start.
int layOutText(Lettering lettering, std::u32string_view text, int left, int top,
               const CellSink& cell);

} // namespace core
