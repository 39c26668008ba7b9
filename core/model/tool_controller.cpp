// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/tool_controller.h"

#include <cmath>
#include <vector>

#include "core/model/cell_colours.h"
#include "core/model/flood_fill.h"

namespace core {
namespace {

// One shape kind: its rubber band, how the drag follows the pointer, and its cells. Drawing
// the same figure twice in XOR erases it, so each preview step is figure, follow, figure.
struct ShapeRow {
    // Nothing is drawn for a figure with no extent, so it never needs erasing either.
    void (*figure)(const ShapeState&, const CalculatorProfile&, Canvas&);
    void (*follow)(ShapeState&, double x, double y);
    void (*commit)(const ShapeState&, const CalculatorProfile&, const CellSink&);
};

void followPoint(ShapeState& s, double x, double y) {
    s.drag = {x, y};
}

void rectangleFigure(const ShapeState& s, const CalculatorProfile&, Canvas& canvas) {
    if (s.drag != s.anchor)
        canvas.drawRectOutline(s.anchor.x, s.anchor.y, s.drag.x, s.drag.y, canvas.background());
}

constexpr ShapeRow kLine{[](const ShapeState& s, const CalculatorProfile&, Canvas& canvas) {
                             if (s.drag != s.anchor)
                                 canvas.drawLine(s.anchor.x, s.anchor.y, s.drag.x, s.drag.y,
                                                 canvas.background());
                         },
                         followPoint,
                         [](const ShapeState& s, const CalculatorProfile&, const CellSink& plot) {
                             rasterLine(s.anchor, s.drag, plot);
                         }};

constexpr ShapeRow kBox{rectangleFigure, followPoint,
                        [](const ShapeState& s, const CalculatorProfile&, const CellSink& plot) {
                            rasterBox(s.anchor, s.drag, plot);
                        }};

constexpr ShapeRow kBar{rectangleFigure, followPoint,
                        [](const ShapeState& s, const CalculatorProfile&, const CellSink& plot) {
                            rasterBar(s.anchor, s.drag, plot);
                        }};

constexpr ShapeRow kCircle{
    [](const ShapeState& s, const CalculatorProfile& profile, Canvas& canvas) {
        if (s.radius > 0)
            canvas.drawEllipseOutline(s.anchor.x, s.anchor.y, s.radius, profile.previewCircleAspect,
                                      canvas.background());
    },
    [](ShapeState& s, double x, double y) {
        s.radius = std::hypot(s.anchor.x - x, s.anchor.y - y); // the drag point stays
    },
    [](const ShapeState& s, const CalculatorProfile& profile, const CellSink& plot) {
        rasterCircle(s.anchor, s.radius, profile.circleVerticalDivisor, plot);
    }};

constexpr ShapeRow kEllipse{
    [](const ShapeState& s, const CalculatorProfile&, Canvas& canvas) {
        if (s.radius > 0)
            canvas.drawEllipseOutline(s.anchor.x, s.anchor.y, s.radius, s.aspect,
                                      canvas.background());
    },
    [](ShapeState& s, double x, double y) {
        s.drag = {x, y};
        s.aspect = ellipseAspect(s.anchor, s.drag);
        // The radius runs to the floored pointer cell, not to the pointer itself.
        s.radius = std::hypot(s.anchor.x - cellIndex(x), s.anchor.y - cellIndex(y));
    },
    [](const ShapeState& s, const CalculatorProfile& profile, const CellSink& plot) {
        rasterEllipse(s.anchor, s.drag, s.radius, profile.ellipseVerticalFactor, plot);
    }};

// By ShapeKind; freehand tools, fills, text and selections have no rubber band.
constexpr const ShapeRow* kShapeRows[] = {nullptr,   &kLine,  &kBox,   &kBar,  &kCircle,
                                          &kEllipse, nullptr, nullptr, nullptr};

const ShapeRow& shapeRow(DrawTool tool) {
    return *kShapeRows[static_cast<size_t>(toolInfo(tool).kind)];
}

} // namespace

void ToolController::selectTool(DrawTool tool) {
    if (isTool(tool))
        m_currentTool = tool;
}

void ToolController::disarm() {
    m_rememberedTool = isTool(m_currentTool) ? m_currentTool : kPen;
    m_currentTool = 0;
}

void ToolController::PlotCell(int column, int row) {
    if (m_currentTool == kPen || m_currentTool == kErase)
        plot(column, row, toolInfo(m_currentTool).ink);
}

std::int16_t ToolController::valueOf(Ink which) const {
    return which == Ink::Set ? ink() : paperOf(m_document.cellKind());
}

void ToolController::setInk(std::int16_t value) {
    if (m_document.cellKind() != CellKind::Monochrome)
        m_inks[kindIndex()] = value;
}

void ToolController::plot(int column, int row, Ink ink) {
    paintCell(column, row, valueOf(ink));
}

void ToolController::paintCell(int column, int row, std::int16_t value) {
    if (!m_document.picture().contains(row, column))
        return;
    m_canvas.setForeground(
        shownCellColour(value, m_document.cellKind(), row, column, m_canvas.background()));
    m_canvas.fillCell(column, row, cellFillOf(m_document.cellKind(), m_profile.cellFill));
    m_document.setCell(row, column, value);
}

void ToolController::fill(int column, int row) {
    // The region first, then its cells: plotting while the region is found would move its
    // edges.
    std::vector<std::pair<int, int>> region;
    floodRegion(m_document.picture(), column, row,
                [&region](int c, int r) { region.emplace_back(c, r); });
    const Ink ink = toolInfo(m_currentTool).ink;
    for (const auto& [c, r] : region)
        plot(c, r, ink);
}

void ToolController::setShapeDrag(bool inProgress) {
    m_shapeDrag = inProgress;
    m_canvas.setDrawMode(inProgress ? DrawMode::Xor : DrawMode::Copy);
}

void ToolController::press(double x, double y) {
    cancelDrag(); // a shape drag whose release never came
    m_gestureEnded = false;
    m_shape.anchor = {x, y};
    m_shape.drag = m_shape.anchor;
    m_shape.radius = 0;
    if (m_currentTool == kPen || m_currentTool == kErase) {
        PlotCell(cellIndex(x), cellIndex(y));
    } else if (m_currentTool == 0) {
        m_currentTool = m_rememberedTool; // this press only arms the tool
    } else if (toolInfo(m_currentTool).kind == ShapeKind::Fill) {
        fill(cellIndex(x), cellIndex(y));
    } else if (isGestureTool(m_currentTool) && m_gestures) {
        m_handedOver = true;
        m_gestures->press(m_currentTool, x, y);
    }
}

void ToolController::drag(int buttons, double x, double y) {
    if (!(buttons & kLeftButton))
        cancelDrag(); // the left button went up where the canvas did not see it
    if (buttons != kLeftButton || m_gestureEnded)
        return;
    if (m_currentTool == kPen || m_currentTool == kErase) {
        m_shape.anchor = freehandSegment(m_shape.anchor, cellIndex(x), cellIndex(y),
                                         [this](int column, int row) { PlotCell(column, row); });
        return;
    }
    if (m_handedOver) {
        m_gestures->drag(m_currentTool, x, y);
        return;
    }
    if (!isShapeTool(m_currentTool))
        return;
    const ShapeRow& row = shapeRow(m_currentTool);
    setShapeDrag(true);
    row.figure(m_shape, m_profile, m_canvas); // erases the last one
    row.follow(m_shape, x, y);
    row.figure(m_shape, m_profile, m_canvas);
}

void ToolController::redrawPreview() {
    if (m_shapeDrag && isShapeTool(m_currentTool))
        shapeRow(m_currentTool).figure(m_shape, m_profile, m_canvas);
}

void ToolController::cancelDrag() {
    if (m_handedOver) {
        m_handedOver = false;
        m_gestures->cancel();
    }
    if (!m_shapeDrag)
        return;
    redrawPreview(); // drawn once more, it is gone
    setShapeDrag(false);
}

void ToolController::endGesture() {
    cancelDrag();
    m_gestureEnded = true;
}

void ToolController::release() {
    if (m_handedOver) {
        m_handedOver = false;
        m_gestures->release(m_currentTool);
        return;
    }
    if (!m_shapeDrag)
        return; // no left-button drag of a shape since the press
    const ShapeRow& row = shapeRow(m_currentTool);
    row.figure(m_shape, m_profile, m_canvas);
    setShapeDrag(false);
    const Ink ink = toolInfo(m_currentTool).ink;
    row.commit(m_shape, m_profile, [this, ink](int column, int row) { plot(column, row, ink); });
}

} // namespace core
