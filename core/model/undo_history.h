// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "core/model/pixel_grid.h"

namespace core {

// What one undo step gives back: the picture, its cells packed eight to a byte. Only the
// picture: the text boxes keep their own undo, and the file name and format stay whatever
// the last Open or Save As made them, so a Save after an undo goes where the user expects.
struct PictureSnapshot {
    int rows = 0;
    int columns = 0;
    std::vector<std::uint8_t> bits;

    static PictureSnapshot take(const PixelGrid& grid);
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
    void record(PictureSnapshot before);
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // The state to go back to; `current` becomes the step Redo gives back.
    PictureSnapshot undo(PictureSnapshot current);
    PictureSnapshot redo(PictureSnapshot current);
    void clear();
    size_t size() const { return m_undo.size(); }
    size_t bytes() const;

private:
    std::deque<PictureSnapshot> m_undo;
    std::vector<PictureSnapshot> m_redo;
};

} // namespace core
