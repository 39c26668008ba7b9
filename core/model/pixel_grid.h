// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace core {

// The eight cells of each byte value, leftmost pixel in the most significant bit: the
// calculators' files pack pictures this way.
inline constexpr auto kBitCells = [] {
    std::array<std::array<std::int16_t, 8>, 256> table{};
    for (int b = 0; b < 256; ++b)
        for (int k = 0; k < 8; ++k)
            table[size_t(b)][size_t(k)] = std::int16_t((b >> (7 - k)) & 1);
    return table;
}();

// Each byte with its bits in the opposite order.
inline constexpr auto kReversedBits = [] {
    std::array<std::uint8_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        for (int k = 0; k < 8; ++k)
            table[size_t(b)] |= std::uint8_t(((b >> k) & 1) << (7 - k));
    return table;
}();

// The picture: rows x columns cells, row 0 at the top, 1 = dark calculator pixel, 0 = clear.
// The single source of truth that the canvas, the file formats and the printer read.
class PixelGrid {
public:
    // Every cell `value`: clear, unless a colour picture's paper is another value.
    PixelGrid(int rows, int columns, std::int16_t value = 0)
        : m_rows(rows), m_columns(columns), m_cells(static_cast<size_t>(rows * columns), value) {}

    int rows() const { return m_rows; }
    int columns() const { return m_columns; }

    bool contains(int row, int column) const {
        return row >= 0 && row < m_rows && column >= 0 && column < m_columns;
    }
    std::int16_t at(int row, int column) const { return m_cells[index(row, column)]; }
    void set(int row, int column, std::int16_t value) { m_cells[index(row, column)] = value; }

    // A row's cells, for decoders that fill whole rows.
    std::int16_t* row(int r) { return m_cells.data() + static_cast<size_t>(r * m_columns); }
    const std::int16_t* row(int r) const {
        return m_cells.data() + static_cast<size_t>(r * m_columns);
    }

    // Eight cells of a row from `column` as one byte, the leftmost in the most significant
    // bit; any value but 1 counts as clear.
    std::uint8_t packBits(int r, int column) const {
        const std::int16_t* cells = row(r) + column;
#if defined(__SSE2__)
        // Eight comparisons at once: each cell equal to 1 gives one bit, leftmost lowest.
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells));
        const __m128i on = _mm_cmpeq_epi16(v, _mm_set1_epi16(1));
        return kReversedBits[_mm_movemask_epi8(_mm_packs_epi16(on, on)) & 0xFF];
#else
        unsigned acc = 0;
        for (int k = 0; k < 8; ++k)
            acc |= unsigned(cells[k] == 1) << (7 - k);
        return static_cast<std::uint8_t>(acc);
#endif
    }

    // Every cell back to 0: how the grid is "re-created" on open, ClrDraw and first press.
    void clear() {
        std::fill(m_cells.begin(), m_cells.end(), std::int16_t{0});
    }

    bool operator==(const PixelGrid&) const = default;

    // The picture on a grid of another size: its cells at the top left, where a calculator's
    // RecallPic puts them; new cells clear.
    PixelGrid resized(int rows, int columns) const {
        PixelGrid out(rows, columns);
        for (int r = 0; r < std::min(rows, m_rows); ++r)
            std::copy_n(row(r), std::min(columns, m_columns), out.row(r));
        return out;
    }
    // The cells not 0 that `resized` would drop.
    int cellsOutside(int rows, int columns) const {
        int n = 0;
        for (int r = 0; r < m_rows; ++r)
            for (int c = 0; c < m_columns; ++c)
                n += (r >= rows || c >= columns) && at(r, c) != 0;
        return n;
    }

    // Sets the cells column..column+count-1 of a row from the bits of a byte, most
    // significant bit first (count at most 8, all inside the row).
    void setBits(int r, int column, std::uint8_t byte, int count = 8) {
        if (count == 8)
            std::memcpy(row(r) + column, kBitCells[byte].data(), sizeof kBitCells[byte]);
        else
            std::memcpy(row(r) + column, kBitCells[byte].data(),
                        size_t(count) * sizeof(std::int16_t));
    }

private:
    size_t index(int row, int column) const {
        return static_cast<size_t>(row * m_columns + column);
    }

    int m_rows;
    int m_columns;
    std::vector<std::int16_t> m_cells;
};

} // namespace core
