// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/picture_edits.h"

#include "core/model/rasterizers.h"

namespace core {

PictureEdits::PictureEdits(Document& document, ToolController& tools)
    : m_document(document), m_tools(tools) {}

std::optional<CellRect> PictureEdits::outline() const {
    if (m_drag == Drag::Outline)
        return m_dragged;
    if (m_selection.active())
        return m_selection.rect();
    return std::nullopt;
}

std::int16_t PictureEdits::paper() const {
    return paperOf(m_document.cellKind());
}

void PictureEdits::notify() {
    if (changed)
        changed();
}

void PictureEdits::closeGesture() {
    m_tools.endGesture();
    m_document.endChange();
}

void PictureEdits::write(const PixelGrid& target) {
    const PixelGrid& picture = m_document.picture();
    for (int r = 0; r < target.rows(); ++r)
        for (int c = 0; c < target.columns(); ++c)
            if (picture.at(r, c) != target.at(r, c))
                m_tools.paintCell(c, r, target.at(r, c));
}

bool PictureEdits::change(std::string label, const PixelGrid& target) {
    if (target == m_document.picture())
        return false;
    m_document.beginChange(std::move(label));
    write(target);
    m_document.endChange();
    m_document.state().press(); // edited, as by a press on the canvas
    return true;
}

void PictureEdits::settle() {
    if (m_text.active())
        commitText();
    m_drag = Drag::None;
    if (m_selection.active())
        m_selection.drop();
    notify();
}

void PictureEdits::beforePress(DrawTool tool) {
    if (m_text.active())
        commitText();
    if (tool != kSelect && m_selection.active()) {
        m_selection.drop();
        notify();
    }
}

void PictureEdits::selectAll() {
    closeGesture();
    if (m_text.active())
        commitText();
    const PixelGrid& picture = m_document.picture();
    m_selection.lift(picture, {0, 0, picture.columns(), picture.rows()}, paper());
    notify();
}

void PictureEdits::dropSelection() {
    m_drag = Drag::None;
    m_selection.drop();
    notify();
}

bool PictureEdits::moveSelection(int columns, int rows) {
    if (!m_selection.active())
        return false;
    closeGesture();
    const CellRect to = m_selection.movedBy(columns, rows);
    if (to == m_selection.rect())
        return false;
    m_selection.moveTo(to.left, to.top);
    change("Move Selection", m_selection.composed());
    notify();
    return true;
}

bool PictureEdits::deleteSelection(std::string label) {
    if (!m_selection.active())
        return false;
    closeGesture();
    const bool changedCells = change(std::move(label), m_selection.uncovered());
    m_selection.drop();
    notify();
    return changedCells;
}

void PictureEdits::pasteAsSelection(const PixelGrid& cells, int left, int top) {
    closeGesture();
    settle();
    // With no picture yet the paste starts one, over paper.
    const PixelGrid& picture = m_document.picture();
    const PixelGrid under = m_document.state().pictureExists()
                                ? picture
                                : PixelGrid(picture.rows(), picture.columns(), paper());
    m_selection.floatCells(under, cells, left, top);
    if (!change("Paste", m_selection.composed()))
        m_document.state().press(); // the picture exists now, even when no cell changed
    notify();
}

bool PictureEdits::apply(PictureOperation operation) {
    closeGesture();
    if (m_text.active())
        commitText();
    const std::string label(operationLabel(operation));
    const CellKind kind = m_document.cellKind();
    bool changedCells = false;
    if (!m_selection.active()) {
        changedCells = change(label, transformed(m_document.picture(), operation, kind));
    } else {
        m_selection.setCells(transformed(m_selection.cells(), operation, kind));
        changedCells = change(label, m_selection.composed());
    }
    notify(); // Undo and Open follow the new state
    return changedCells;
}

void PictureEdits::setLettering(Lettering lettering) {
    m_lettering = lettering;
    m_text.setLettering(lettering);
    notify();
}

bool PictureEdits::type(char32_t code) {
    if (!m_text.type(code))
        return false;
    notify();
    return true;
}

bool PictureEdits::backspace() {
    if (!m_text.backspace())
        return false;
    notify();
    return true;
}

void PictureEdits::commitText() {
    if (!m_text.active())
        return;
    PixelGrid target = m_document.picture();
    const std::int16_t value = m_tools.valueOf(m_text.ink());
    for (const auto& [column, row] : m_text.cells())
        if (target.contains(row, column))
            target.set(row, column, value);
    m_text.end();
    // A press may hold a change open (Enter while the button is down): the text is a step
    // of its own.
    m_document.endChange();
    change("Text", target);
    notify();
}

void PictureEdits::press(DrawTool tool, double x, double y) {
    const int column = cellIndex(x), row = cellIndex(y);
    m_anchorColumn = column;
    m_anchorRow = row;
    if (tool != kSelect) { // Text or WhText: a new line here
        m_text.start(column, row, m_lettering, toolInfo(tool).ink);
        notify();
        return;
    }
    if (m_selection.active() && m_selection.rect().contains(column, row)) {
        // A move: its cells change inside the change the press opened, one step at release.
        m_drag = Drag::Move;
        m_startLeft = m_selection.rect().left;
        m_startTop = m_selection.rect().top;
        return;
    }
    m_selection.drop();
    const PixelGrid& picture = m_document.picture();
    m_drag = Drag::Outline;
    m_draggedAway = false;
    m_dragged = CellRect::spanning(column, row, column, row)
                    .intersected({0, 0, picture.columns(), picture.rows()});
    notify();
}

void PictureEdits::drag(DrawTool, double x, double y) {
    const int column = cellIndex(x), row = cellIndex(y);
    if (m_text.active() && m_drag == Drag::None) { // the line follows the pointer until release
        if (column != m_text.column() || row != m_text.row()) {
            m_text.moveTo(column, row);
            notify();
        }
        return;
    }
    if (m_drag == Drag::Outline) {
        const PixelGrid& picture = m_document.picture();
        m_draggedAway = m_draggedAway || column != m_anchorColumn || row != m_anchorRow;
        const CellRect rect = CellRect::spanning(m_anchorColumn, m_anchorRow, column, row)
                                  .intersected({0, 0, picture.columns(), picture.rows()});
        if (rect != m_dragged) {
            m_dragged = rect;
            notify();
        }
    } else if (m_drag == Drag::Move) {
        const CellRect& now = m_selection.rect();
        const CellRect to = m_selection.movedBy(m_startLeft + column - m_anchorColumn - now.left,
                                                m_startTop + row - m_anchorRow - now.top);
        if (to == now)
            return;
        m_selection.moveTo(to.left, to.top);
        write(m_selection.composed());
        notify();
    }
}

void PictureEdits::release(DrawTool) {
    if (m_drag == Drag::Outline && m_draggedAway)
        m_selection.lift(m_document.picture(), m_dragged, paper());
    m_drag = Drag::None;
    notify();
}

void PictureEdits::cancel() {
    if (m_drag == Drag::None)
        return;
    m_drag = Drag::None; // a move keeps the cells it has moved; an outline is forgotten
    notify();
}

} // namespace core
