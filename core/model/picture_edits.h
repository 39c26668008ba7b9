// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/model/document.h"
#include "core/model/picture_operations.h"
#include "core/model/selection.h"
#include "core/model/text_entry.h"
#include "core/model/tool_controller.h"

namespace core {

// The edits beyond strokes and shapes: the Select tool and its floating selection, the Text
// tools and the line being typed, and the Picture menu's operations on the selection or on
// the whole picture. Each finished one (a move, a nudge, a text, a flip) is one step of the
// history; cells change through the tool controller, so the canvas shows them at once.
class PictureEdits : public GestureHandler {
public:
    PictureEdits(Document& document, ToolController& tools);

    // Runs whenever what is shown over the cells changes: the selection, the rectangle being
    // dragged out, the text being typed.
    std::function<void()> changed;

    const Selection& selection() const { return m_selection; }
    const TextEntry& text() const { return m_text; }
    // The rectangle the canvas outlines: the one being dragged out, or the selection's.
    std::optional<CellRect> outline() const;

    // Before a command takes the picture over: the text is written (a step of its own) and
    // the selection let go. Neither loses a cell.
    void settle();
    // A press of `tool` is about to open a change: the text is written, and unless the press
    // is the Select tool's (which decides for itself), the selection is let go.
    void beforePress(DrawTool tool);

    void selectAll();
    void dropSelection();
    // Each is one step; false when there is nothing to do.
    bool moveSelection(int columns, int rows);
    bool deleteSelection(std::string label = "Delete");
    // `cells` floated over the picture at (left, top) as the selection.
    void pasteAsSelection(const PixelGrid& cells, int left, int top);
    // On the selection's cells when there is a selection, else on the whole picture.
    bool apply(PictureOperation operation);

    Lettering lettering() const { return m_lettering; }
    void setLettering(Lettering lettering);
    bool typing() const { return m_text.active(); }
    bool type(char32_t code);
    bool backspace();
    // Writes the text typed so far as one step and ends the line.
    void commitText();

    void press(DrawTool tool, double x, double y) override;
    void drag(DrawTool tool, double x, double y) override;
    void release(DrawTool tool) override;
    void cancel() override;

private:
    enum class Drag { None, Outline, Move };

    // Ends a gesture in progress and closes any change it opened.
    void closeGesture();
    // The cells of `target` that differ from the picture, written as one step.
    bool change(std::string label, const PixelGrid& target);
    void write(const PixelGrid& target);
    void notify();
    // What Delete and a lifted selection leave: the document's clear, none or white.
    std::int16_t paper() const;

    Document& m_document;
    ToolController& m_tools;
    Selection m_selection;
    TextEntry m_text;
    Lettering m_lettering = Lettering::Small;
    Drag m_drag = Drag::None;
    int m_anchorColumn = 0, m_anchorRow = 0; // the pressed cell
    int m_startLeft = 0, m_startTop = 0;     // where a moved selection was at the press
    CellRect m_dragged;                      // the rectangle being dragged out
    bool m_draggedAway = false;              // the drag reached another cell
};

} // namespace core
