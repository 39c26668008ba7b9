// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/model/pixel_grid.h"

namespace core {

// What one undo step gives back: the picture (its cells packed eight to a byte), the text
// boxes and the file name.
struct EditorSnapshot {
    int rows = 0;
    int columns = 0;
    std::vector<std::uint8_t> bits;
    std::vector<std::string> texts; // UTF-8, in the program's order
    std::string fileName;

    static EditorSnapshot take(const PixelGrid& grid, std::vector<std::string> texts,
                               std::string fileName);
    void restore(PixelGrid& grid) const;
    bool samePicture(const PixelGrid& grid) const;
    size_t bytes() const;
};

// Undo and redo of whole picture changes: a freehand stroke, a shape, an accepted import or
// conversion, ClrDraw. At most kLimit steps are kept, the oldest dropped first: for pixvane's
// 240 x 103 picture a step takes about 3 KB, so the whole history stays under 1 MB.
class UndoHistory {
public:
    static constexpr size_t kLimit = 256;

    // A change is about to be made; `before` is how things stood. Redo is no longer possible.
    void record(EditorSnapshot before);
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // The state to go back to; `current` becomes the step Redo gives back.
    EditorSnapshot undo(EditorSnapshot current);
    EditorSnapshot redo(EditorSnapshot current);
    void clear();
    size_t size() const { return m_undo.size(); }
    size_t bytes() const;

private:
    std::deque<EditorSnapshot> m_undo;
    std::vector<EditorSnapshot> m_redo;
};

} // namespace core
