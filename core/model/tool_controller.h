// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>
#include <cstdint>

#include "core/model/calculator_profile.h"
#include "core/model/canvas.h"
#include "core/model/document.h"
#include "core/model/draw_tool.h"
#include "core/model/mouse_buttons.h"
#include "core/model/pixel_grid.h"
#include "core/model/rasterizers.h"

namespace core {

// What a drag keeps between events: the press point (for freehand strokes, the last point
// joined to), the drag point, the radius and the ellipse's aspect at its last preview.
struct ShapeState {
    CellPoint anchor;
    CellPoint drag;
    double radius = 0;
    double aspect = 1;
};

// The tools whose presses, drags and releases another unit handles: Text and Select, whose
// state (the line being typed, the floating selection) outlives a gesture.
class GestureHandler {
public:
    virtual ~GestureHandler() = default;
    virtual void press(DrawTool tool, double x, double y) = 0;
    virtual void drag(DrawTool tool, double x, double y) = 0;
    virtual void release(DrawTool tool) = 0;
    // The gesture ends before its release: a pop-up took the mouse, a command took over.
    virtual void cancel() = 0;
};

// The drawing tools' state and behaviour on the canvas: freehand plotting, the XOR rubber
// band of the shapes and their rasterising on release, the flood fill. Every cell change goes
// through PlotCell or paintCell, so the picture and the canvas never disagree. Cells change
// through the document, inside the change its owner opened for the press.
class ToolController {
public:
    ToolController(const CalculatorProfile& profile, Document& document, Canvas& canvas)
        : m_profile(profile), m_document(document), m_canvas(canvas) {}

    DrawTool currentTool() const { return m_currentTool; }
    DrawTool rememberedTool() const { return m_rememberedTool; }
    // The one tool item the menu shows checked.
    DrawTool checkedTool() const { return m_currentTool != 0 ? m_currentTool : m_rememberedTool; }
    bool shapeDragInProgress() const { return m_shapeDrag; }

    void selectTool(DrawTool tool); // a choice in the tool menu
    void setCurrentTool(DrawTool tool) { m_currentTool = tool; }
    // After a picture is read: the armed tool, or Pen when none is, waits for the next press.
    void disarm();
    void reset() { m_currentTool = 0, m_rememberedTool = kPen; } // start-up: Pen waits

    // Sets or clears one cell, as the current tool says (Pen sets, Erase clears, any other
    // tool does nothing), and paints its square.
    void PlotCell(int column, int row);
    // Sets one cell to `value` whatever the tool, and paints its square: how the edits that
    // are not strokes (a selection moving, text, a flip) change cells.
    void paintCell(int column, int row, std::int16_t value);
    void setGestureHandler(GestureHandler* handler) { m_gestures = handler; }

    // The cell value the Set tools draw in the document's kind of cells: 1 for a monochrome
    // picture, whatever is set; a palette index (black at first); an RGB565 colour (black at
    // first). Each kind keeps its own, so a picture of another kind never gets a value that
    // means nothing there.
    std::int16_t ink() const { return m_inks[kindIndex()]; }
    void setInk(std::int16_t value);
    // What a tool of that ink writes: the ink, or the paper (clear, none, white) for the white
    // tools and Erase.
    std::int16_t valueOf(Ink which) const;

    void setAnchor(double x, double y) { m_shape.anchor = {x, y}; }
    // A left or middle press, after the window has marked the picture as edited.
    void press(double x, double y);
    void drag(int buttons, double x, double y);
    void release();
    // Ends a shape drag that was interrupted (a pop-up took the release, the window lost the
    // mouse): the rubber band is erased and nothing is plotted.
    void cancelDrag();
    // Ends the press's gesture at once, as a command taking over the picture (Undo, say)
    // needs: a shape's rubber band is erased unplotted, and the moves and the release that
    // follow draw nothing until the next press.
    void endGesture();
    // After the canvas was rebuilt from the grid mid-drag: puts the rubber band back, so the
    // next step's erase finds it.
    void redrawPreview();

private:
    void plot(int column, int row, Ink ink);
    void setShapeDrag(bool inProgress);
    // Fill and WhFill: the region of the pressed cell, in the tool's ink.
    void fill(int column, int row);

    size_t kindIndex() const { return static_cast<size_t>(m_document.cellKind()); }

    const CalculatorProfile& m_profile;
    Document& m_document;
    Canvas& m_canvas;

    DrawTool m_currentTool = 0;
    DrawTool m_rememberedTool = kPen;
    ShapeState m_shape;
    bool m_shapeDrag = false;    // between a shape's first left-button drag event and its end
    bool m_gestureEnded = false; // endGesture since the last press
    GestureHandler* m_gestures = nullptr;
    std::array<std::int16_t, 3> m_inks{defaultInkOf(CellKind::Monochrome),
                                       defaultInkOf(CellKind::Palette),
                                       defaultInkOf(CellKind::Rgb565)};
    bool m_handedOver = false; // the press went to the gesture handler, its release not yet
};

} // namespace core
