// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/undo_history.h"

namespace core {

EditorSnapshot EditorSnapshot::take(const PixelGrid& grid, std::vector<std::string> texts,
                                    std::string fileName) {
    EditorSnapshot s;
    s.rows = grid.rows();
    s.columns = grid.columns();
    s.bits.assign(size_t((s.rows * s.columns + 7) / 8), 0);
    for (int r = 0; r < s.rows; ++r)
        for (int c = 0; c < s.columns; ++c)
            if (grid.at(r, c) == 1) {
                const size_t i = size_t(r * s.columns + c);
                s.bits[i / 8] |= std::uint8_t(0x80 >> (i % 8));
            }
    s.texts = std::move(texts);
    s.fileName = std::move(fileName);
    return s;
}

void EditorSnapshot::restore(PixelGrid& grid) const {
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const size_t i = size_t(r * columns + c);
            grid.set(r, c, (bits[i / 8] >> (7 - i % 8)) & 1);
        }
}

bool EditorSnapshot::samePicture(const PixelGrid& grid) const {
    return take(grid, {}, {}).bits == bits;
}

size_t EditorSnapshot::bytes() const {
    size_t n = sizeof(*this) + bits.size() + fileName.size();
    for (const std::string& t : texts)
        n += sizeof(t) + t.size();
    return n;
}

void UndoHistory::record(EditorSnapshot before) {
    m_undo.push_back(std::move(before));
    if (m_undo.size() > kLimit)
        m_undo.pop_front();
    m_redo.clear();
}

EditorSnapshot UndoHistory::undo(EditorSnapshot current) {
    EditorSnapshot back = std::move(m_undo.back());
    m_undo.pop_back();
    m_redo.push_back(std::move(current));
    return back;
}

EditorSnapshot UndoHistory::redo(EditorSnapshot current) {
    EditorSnapshot forward = std::move(m_redo.back());
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
    for (const EditorSnapshot& s : m_undo)
        n += s.bytes();
    for (const EditorSnapshot& s : m_redo)
        n += s.bytes();
    return n;
}

} // namespace core
