// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/model/cell_kind.h"
#include "core/model/document_state.h"
#include "core/model/format_id.h"
#include "core/model/pixel_grid.h"

namespace core {

// One change of the picture that Undo can take back: it knows what it changed and names
// itself for the Edit menu ("Undo Stroke").
class PictureCommand {
public:
    virtual ~PictureCommand() = default;
    virtual void undo(PixelGrid& picture) const = 0;
    virtual void redo(PixelGrid& picture) const = 0;
    virtual const std::string& label() const = 0;
    virtual size_t bytes() const = 0;
};

// A whole picture kept compactly: eight cells to a byte while every cell is 0 or 1, the
// cells themselves once one holds more (a palette index, a colour).
class PictureSnapshot {
public:
    PictureSnapshot() = default;
    static PictureSnapshot take(const PixelGrid& picture);
    void restore(PixelGrid& picture) const;
    size_t bytes() const { return sizeof(*this) + m_bits.size() + m_cells.size() * 2; }

private:
    int m_rows = 0;
    int m_columns = 0;
    std::vector<std::uint8_t> m_bits;
    std::vector<std::int16_t> m_cells;
};

// The steps Undo and Redo walk, at most kLimit of them, the oldest dropped first. It knows
// the position at which the picture was last saved, so that stepping back to it counts as
// saved again.
class History {
public:
    static constexpr size_t kLimit = 256;

    void push(std::unique_ptr<PictureCommand> command); // Redo is no longer possible
    bool canUndo() const { return !m_done.empty(); }
    bool canRedo() const { return !m_undone.empty(); }
    const PictureCommand& nextUndo() const { return *m_done.back().command; }
    const PictureCommand& nextRedo() const { return *m_undone.back().command; }
    void undo(PixelGrid& picture);
    void redo(PixelGrid& picture);
    // A fresh history whose start is the saved picture (a file read) or not (a new one).
    void clear(bool saved);
    void markSaved() { m_saved = position(); }
    // No step leads back to a saved picture any more (ClrDraw starts a new one).
    void forgetSaved() { m_saved = kNowhere; }
    bool atSaved() const { return m_saved == position(); }
    size_t size() const { return m_done.size(); }
    size_t bytes() const;

private:
    struct Step {
        std::uint64_t id;
        std::unique_ptr<PictureCommand> command;
    };
    static constexpr std::uint64_t kNowhere = ~std::uint64_t{0};
    // The step the picture is at: the last one done, or the oldest state still reachable.
    std::uint64_t position() const { return m_done.empty() ? m_base : m_done.back().id; }

    std::deque<Step> m_done;
    std::vector<Step> m_undone;
    std::uint64_t m_nextId = 1;
    std::uint64_t m_base = 0;
    std::uint64_t m_saved = 0;
};

// The texts that travel with a picture, as the editor's boxes hold them.
struct DocumentTexts {
    std::string comment;     // Windows-1252 bytes
    std::u32string folder;   // 68k family
    std::u32string variable; // 68k family
};

// What an editor edits: the picture with its history, its texts, its format and the document
// state the window shows (file name, saved or not). The picture changes only here: cell by cell
// inside a change (a stroke, a shape, an import), or whole (ClrDraw, a conversion, a paste); each
// change that alters a cell is one step of the history.
class Document {
public:
    Document(int rows, int columns);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const PixelGrid& picture() const { return m_picture; }
    DocumentState& state() { return m_state; }
    const DocumentState& state() const { return m_state; }
    const History& history() const { return m_history; }
    DocumentTexts& texts() { return m_texts; }
    const DocumentTexts& texts() const { return m_texts; }
    // The format the picture was read from or last saved as; a new picture's program's first.
    FormatId format() const { return m_format; }
    void setFormat(FormatId format) { m_format = format; }
    // What the cells mean, as the format says.
    CellKind cellKind() const { return cellKindOf(m_format); }

    // Cells set between begin and end become one step named `label`, if any of them changed.
    // The tools set cells only inside a change; the window opens one at each press.
    void beginChange(std::string label);
    void setCell(int row, int column, std::int16_t value);
    bool changing() const { return m_change != nullptr; }
    void endChange();
    // The whole picture at once, as one step.
    void replacePicture(const PixelGrid& picture, std::string label);
    // A picture with a history of its own: one read from a file (`saved`), or a new one.
    void resetPicture(const PixelGrid& picture, bool saved);

    // Each returns false where there is nothing to take back or bring back.
    bool undo();
    bool redo();
    void markSaved() { m_history.markSaved(); }
    void forgetSaved() { m_history.forgetSaved(); }

private:
    class CellChanges;

    PixelGrid m_picture;
    History m_history;
    DocumentState m_state;
    DocumentTexts m_texts;
    FormatId m_format = FormatId::Ti82;
    std::unique_ptr<CellChanges> m_change;
};

} // namespace core
