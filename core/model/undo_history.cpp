// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/undo_history.h"

namespace core {

PictureSnapshot PictureSnapshot::take(const PixelGrid& grid) {
    PictureSnapshot s;
    s.rows = grid.rows();
    s.columns = grid.columns();
    s.bits.assign(size_t((s.rows * s.columns + 7) / 8), 0);
    for (int r = 0; r < s.rows; ++r)
        for (int c = 0; c < s.columns; ++c)
            if (grid.at(r, c) == 1) {
                const size_t i = size_t(r * s.columns + c);
                s.bits[i / 8] |= std::uint8_t(0x80 >> (i % 8));
            }
    return s;
}

void PictureSnapshot::restore(PixelGrid& grid) const {
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const size_t i = size_t(r * columns + c);
            grid.set(r, c, (bits[i / 8] >> (7 - i % 8)) & 1);
        }
}

bool PictureSnapshot::samePicture(const PixelGrid& grid) const {
    return take(grid).bits == bits;
}

size_t PictureSnapshot::bytes() const {
    return sizeof(*this) + bits.size();
}

void UndoHistory::record(PictureSnapshot before) {
    m_undo.push_back(std::move(before));
    if (m_undo.size() > kLimit)
        m_undo.pop_front();
    m_redo.clear();
}

PictureSnapshot UndoHistory::undo(PictureSnapshot current) {
    PictureSnapshot back = std::move(m_undo.back());
    m_undo.pop_back();
    m_redo.push_back(std::move(current));
    return back;
}

PictureSnapshot UndoHistory::redo(PictureSnapshot current) {
    PictureSnapshot forward = std::move(m_redo.back());
    m_redo.pop_back();
    m_undo.push_back(std::move(current));
    return forward;
}

void UndoHistory::clear() {
    m_undo.clear();
    m_redo.clear();
}

size_t UndoHistory::bytes() const {
    size_t n = 0;
    for (const PictureSnapshot& s : m_undo)
        n += s.bytes();
    for (const PictureSnapshot& s : m_redo)
        n += s.bytes();
    return n;
}

} // namespace core
