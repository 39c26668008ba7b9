#include "core/model/tool_controller.h"

#include <cmath>

namespace core {

void ToolController::selectTool(DrawTool tool) {
    if (isTool(tool))
        m_currentTool = tool;
}

void ToolController::disarm() {
    m_rememberedTool = isTool(m_currentTool) ? m_currentTool : kPen;
    m_currentTool = 0;
}

void ToolController::PlotCell(int column, int row) {
    if (!m_grid.contains(row, column))
        return;
    const double fill = m_profile.cellFill;
    if (m_currentTool == kPen) {
        m_canvas.setForeground(kBlack);
        m_canvas.fillCell(column, row, fill);
        m_grid.set(row, column, 1);
    } else if (m_currentTool == kErase) {
        m_canvas.setForeground(m_canvas.background());
        m_canvas.fillCell(column, row, fill);
        m_grid.set(row, column, 0);
    }
}

void ToolController::press(double x, double y) {
    cancelDrag(); // a shape drag whose release never came
    m_anchor = {x, y};
    m_dragPoint = m_anchor;
    m_dragRadius = 0;
    if (m_currentTool == kPen || m_currentTool == kErase) {
        PlotCell(cellIndex(x), cellIndex(y));
    } else if (m_currentTool == 0) {
        m_currentTool = m_rememberedTool; // this press only arms the tool
    }
}

void ToolController::drag(int buttons, double x, double y) {
    if (!(buttons & kLeftButton))
        cancelDrag(); // the left button went up where the canvas did not see it
    if (buttons != kLeftButton)
        return;
    m_canvas.setDrawMode(DrawMode::Xor);
    const int c = cellIndex(x);
    const int r = cellIndex(y);
    if (m_currentTool == kPen || m_currentTool == kErase) {
        m_canvas.setDrawMode(DrawMode::Copy);
        m_anchor =
            freehandSegment(m_anchor, c, r, [this](int column, int row) { PlotCell(column, row); });
        return;
    }
    if (!isShapeTool(m_currentTool))
        return;

    switch (toolInfo(m_currentTool).kind) {
    case ShapeKind::Circle:
        drawPreview(m_currentTool);
        m_dragRadius = std::hypot(m_anchor.x - x, m_anchor.y - y);
        break;
    case ShapeKind::Ellipse:
        m_previewAspect = ellipseAspect(m_anchor, m_dragPoint);
        m_dragPoint = {x, y};
        drawPreview(m_currentTool);
        m_dragRadius = std::hypot(m_anchor.x - c, m_anchor.y - r);
        break;
    default:
        drawPreview(m_currentTool);
        m_dragPoint = {x, y};
        break;
    }
    if (toolInfo(m_currentTool).kind == ShapeKind::Ellipse)
        m_previewAspect = ellipseAspect(m_anchor, m_dragPoint);
    drawPreview(m_currentTool);
}

// Draws the current rubber band once in XOR with the background colour; drawing it again
// removes it. A figure with no extent is not drawn at all, so it never needs erasing.
void ToolController::drawPreview(DrawTool tool) {
    const Rgb colour = m_canvas.background();
    const CellPoint a = m_anchor;
    const CellPoint d = m_dragPoint;
    switch (toolInfo(tool).kind) {
    case ShapeKind::Line:
        if (d != a)
            m_canvas.drawLine(a.x, a.y, d.x, d.y, colour);
        break;
    case ShapeKind::Box:
    case ShapeKind::Bar:
        if (d != a)
            m_canvas.drawRectOutline(a.x, a.y, d.x, d.y, colour);
        break;
    case ShapeKind::Circle:
        if (m_dragRadius > 0)
            m_canvas.drawEllipseOutline(a.x, a.y, m_dragRadius, m_profile.previewCircleAspect,
                                        colour);
        break;
    case ShapeKind::Ellipse:
        if (m_dragRadius > 0)
            m_canvas.drawEllipseOutline(a.x, a.y, m_dragRadius, m_previewAspect, colour);
        break;
    case ShapeKind::Freehand:
        break;
    }
}

void ToolController::redrawPreview() {
    if (m_canvas.drawMode() == DrawMode::Xor && isShapeTool(m_currentTool))
        drawPreview(m_currentTool);
}

void ToolController::cancelDrag() {
    if (m_canvas.drawMode() != DrawMode::Xor)
        return;
    if (isShapeTool(m_currentTool))
        drawPreview(m_currentTool);
    m_canvas.setDrawMode(DrawMode::Copy);
}

void ToolController::release() {
    if (m_canvas.drawMode() != DrawMode::Xor)
        return; // no left-button drag of a shape since the press
    if (isShapeTool(m_currentTool)) {
        drawPreview(m_currentTool);
        m_canvas.setDrawMode(DrawMode::Copy);
        completeShape();
    }
    m_canvas.setDrawMode(DrawMode::Copy);
}

void ToolController::completeShape() {
    const DrawToolInfo& info = toolInfo(m_currentTool);
    const CellSink plot = [this](int column, int row) { PlotCell(column, row); };
    // Lowering the tool to Pen or Erase makes PlotCell set or clear the shape's cells.
    m_currentTool = static_cast<DrawTool>(m_currentTool - info.offset);
    switch (info.kind) {
    case ShapeKind::Line:
        rasterLine(m_anchor, m_dragPoint, plot);
        break;
    case ShapeKind::Box:
        rasterBox(m_anchor, m_dragPoint, plot);
        break;
    case ShapeKind::Bar:
        rasterBar(m_anchor, m_dragPoint, plot);
        break;
    case ShapeKind::Circle:
        rasterCircle(m_anchor, m_dragRadius, m_profile.circleVerticalDivisor, plot);
        break;
    case ShapeKind::Ellipse:
        rasterEllipse(m_anchor, m_dragPoint, m_dragRadius, m_profile.ellipseVerticalFactor, plot);
        break;
    case ShapeKind::Freehand:
        break;
    }
    m_currentTool = static_cast<DrawTool>(m_currentTool + info.offset);
}

} // namespace core
