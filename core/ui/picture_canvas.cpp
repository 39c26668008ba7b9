// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/picture_canvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "core/model/cell_colours.h"
#include "core/ui/mouse_codes.h"

namespace core {
namespace {

constexpr int kMinimumZoom = 2;

} // namespace

PictureCanvas::PictureCanvas(int rows, int columns, int zoom, QWidget* parent)
    : QWidget(parent), m_rows(rows), m_columns(columns), m_zoom(std::max(1, zoom)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setFixedSize(sizeForZoom(m_zoom));
}

void PictureCanvas::setZoom(int zoom) {
    zoom = std::max(1, zoom);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    setFixedSize(sizeForZoom(m_zoom));
    if (!m_surface.isNull() && m_surface.size() != size())
        remakeSurface();
}

void PictureCanvas::setGridSize(int rows, int columns) {
    if (rows == m_rows && columns == m_columns)
        return;
    m_rows = rows;
    m_columns = columns;
    setFixedSize(sizeForZoom(m_zoom));
    if (!m_surface.isNull())
        remakeSurface();
}

int PictureCanvas::toPixel(double cells) const {
    // Floors by hand: without SSE4.1 std::floor is a library call, and a repaint makes
    // four of these per dark cell.
    const double p = cells * m_zoom;
    if (!(p > -1.0e7))
        return -10000000;
    if (p > 1.0e7)
        return 10000000;
    const int i = static_cast<int>(p);
    return i > p ? i - 1 : i;
}

namespace {

// A surface to make again: none yet, or not of the widget's size.
bool staleSurface(const QImage& surface, QSize widget) {
    return surface.isNull() || surface.size() != widget;
}

} // namespace

void PictureCanvas::ensureSurface() const {
    if (staleSurface(m_surface, size()))
        const_cast<PictureCanvas*>(this)->remakeSurface();
}

void PictureCanvas::allocateSurface() {
    m_surface = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    if (m_batchDepth > 0)
        m_batchBits = m_surface.bits();
}

void PictureCanvas::remakeSurface() {
    allocateSurface();
    m_surface.fill(QColor::fromRgb(m_background));
    if (m_repaint)
        m_repaint();
    updateArea(rect());
}

void PictureCanvas::updateArea(const QRect& area) {
    if (area.isEmpty())
        return;
    if (m_batchDepth > 0) {
        m_batchArea |= area;
        return;
    }
    if (m_pendingArea.contains(area))
        return; // already asked for
    m_pendingArea |= area;
    update(m_pendingArea);
}

template <class Draw> void PictureCanvas::drawOutline(Rgb colour, Draw draw) {
    ensureSurface();
    QPainter painter(&m_surface);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (m_mode == DrawMode::Xor)
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(QColor::fromRgb(colour), 0)); // cosmetic, one pixel
    painter.setBrush(Qt::NoBrush);
    draw(painter);
    painter.end();
    updateArea(rect());
}

void PictureCanvas::fillCell(int column, int row, double fill) {
    // Every cell's square has the same size in whole pixels, so the cells of a repaint and
    // those a tool plots are exactly alike.
    const int size = std::max(1, toPixel(fill));
    fillPixels(column * m_zoom, row * m_zoom, column * m_zoom + size, row * m_zoom + size);
}

void PictureCanvas::fillPixels(int left, int top, int right, int bottom) {
    ensureSurface();
    // Straight into the surface's pixels: a repaint fills one square per dark cell, and a
    // painter for each would cost more than the whole fill.
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, m_surface.width());
    bottom = std::min(bottom, m_surface.height());
    if (left >= right || top >= bottom)
        return;
    const QRect area(left, top, right - left, bottom - top);
    const QRgb colour = 0xFF000000u | m_foreground;
    uchar* bits = m_batchBits ? m_batchBits : m_surface.bits();
    const qsizetype stride = m_surface.bytesPerLine();
    for (int y = top; y < bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * stride) + left;
        if (m_mode == DrawMode::Xor) {
            for (int x = 0; x < area.width(); ++x)
                line[x] = (line[x] ^ colour) | 0xFF000000u;
        } else {
            std::fill_n(line, area.width(), colour);
        }
    }
    updateArea(area);
}

void PictureCanvas::drawLine(double x1, double y1, double x2, double y2, Rgb colour) {
    drawOutline(colour, [&](QPainter& p) {
        p.drawLine(QPoint(toPixel(x1), toPixel(y1)), QPoint(toPixel(x2), toPixel(y2)));
    });
}

void PictureCanvas::drawRectOutline(double x1, double y1, double x2, double y2, Rgb colour) {
    const int left = toPixel(std::min(x1, x2)), right = toPixel(std::max(x1, x2));
    const int top = toPixel(std::min(y1, y2)), bottom = toPixel(std::max(y1, y2));
    drawOutline(colour,
                [&](QPainter& p) { p.drawRect(QRect(QPoint(left, top), QPoint(right, bottom))); });
}

void PictureCanvas::drawEllipseOutline(double cx, double cy, double radius, double aspect,
                                       Rgb colour) {
    const double rx = aspect <= 1 ? radius : radius / aspect;
    const double ry = aspect <= 1 ? radius * aspect : radius;
    drawOutline(colour, [&](QPainter& p) {
        p.drawEllipse(QPointF(cx * m_zoom, cy * m_zoom), rx * m_zoom, ry * m_zoom);
    });
}

void PictureCanvas::prepareStamps(int size) {
    if (m_stampZoom == m_zoom && m_stampSize == size)
        return;
    const int span = 8 * m_zoom;
    m_stamps.assign(size_t(256 * span), 0xFF000000u | m_background);
    for (int byte = 0; byte < 256; ++byte) {
        for (int k = 0; k < 8; ++k) {
            if ((byte >> (7 - k)) & 1)
                std::fill_n(m_stamps.begin() + byte * span + k * m_zoom, size,
                            0xFF000000u | kBlack);
        }
    }
    m_stampZoom = m_zoom;
    m_stampSize = size;
}

void PictureCanvas::colourLine(const PixelGrid& grid, CellKind kind, int row, int size,
                               QRgb* line) const {
    const std::int16_t* cells = grid.row(row);
    for (int column = 0; column < grid.columns(); ++column)
        std::fill_n(line + column * m_zoom, size,
                    0xFF000000u | shownCellColour(cells[column], kind, row, column, m_background));
}

void PictureCanvas::rebuild(const PixelGrid& grid, double fill, CellKind kind) {
    // Every pixel is drawn below: a new surface needs neither clearing nor the repaint
    // handler, which would draw it all once more.
    if (staleSurface(m_surface, size()))
        allocateSurface();
    const int width = m_surface.width();
    const int height = m_surface.height();
    const int size = std::min(m_zoom, std::max(1, toPixel(fill))); // as fillCell draws
    const QRgb background = 0xFF000000u | m_background;
    if (kind == CellKind::Monochrome)
        prepareStamps(size);
    const int span = 8 * m_zoom;
    const int whole = grid.columns() / 8; // the cells that come in bytes of eight
    std::vector<QRgb> line(static_cast<size_t>(std::max(width, grid.columns() * m_zoom)),
                           background);
    const qsizetype stride = m_surface.bytesPerLine();
    uchar* bits = m_surface.bits();
    for (int y = 0; y < height; ++y) {
        const int row = y / m_zoom;
        QRgb* out = reinterpret_cast<QRgb*>(bits + y * stride);
        if (y % m_zoom >= size || row >= grid.rows()) {
            std::fill_n(out, width, background); // the gap under a row of squares
            continue;
        }
        if (y % m_zoom == 0 && kind != CellKind::Monochrome) {
            colourLine(grid, kind, row, size, line.data());
        } else if (y % m_zoom == 0) { // a new grid row: its line of squares, eight at a time
            for (int j = 0; j < whole; ++j)
                std::copy_n(m_stamps.begin() + grid.packBits(row, 8 * j) * span, span,
                            line.begin() + j * span);
            for (int column = 8 * whole; column < grid.columns(); ++column)
                std::fill_n(line.begin() + column * m_zoom, size,
                            grid.at(row, column) == 1 ? 0xFF000000u | kBlack : background);
        }
        std::copy_n(line.begin(), width, out);
    }
    updateArea(rect());
}

void PictureCanvas::clear() {
    ensureSurface();
    m_surface.fill(QColor::fromRgb(m_background));
    updateArea(rect());
}

void PictureCanvas::paintEvent(QPaintEvent* event) {
    m_pendingArea = QRect();
    // The window system's repaint copies the surface; it is rebuilt only when the grid is.
    const QRect area = event->rect();
    QPainter painter(this);
    if (m_surface.isNull()) // nothing drawn yet: the empty canvas
        painter.fillRect(area, QColor::fromRgb(m_background));
    else
        painter.drawImage(area, m_surface, area);
    m_overlay.paint(painter, area, m_zoom);
}

void PictureCanvas::overlayChanged(const QRect& area) {
    updateArea(area.isNull() ? rect() : area);
}

void PictureCanvas::resizeEvent(QResizeEvent*) {
    if (!m_surface.isNull() && m_surface.size() != size())
        remakeSurface();
}

std::pair<double, double> PictureCanvas::cellPosition(const QMouseEvent* event) const {
    // Pointer positions are single-precision values in cell units, converted once here so
    // that every tool measures from the same numbers.
    const QPointF p = event->position() / m_zoom;
    return {float(p.x()), float(p.y())};
}

void PictureCanvas::mousePressEvent(QMouseEvent* event) {
    const auto [x, y] = cellPosition(event);
    emit mouseDown(mouseButtonCode(event->button()), shiftCode(event->modifiers()), x, y);
}

void PictureCanvas::mouseMoveEvent(QMouseEvent* event) {
    const auto [x, y] = cellPosition(event);
    emit mouseMove(mouseButtonCode(event->buttons()), shiftCode(event->modifiers()), x, y);
}

void PictureCanvas::mouseReleaseEvent(QMouseEvent* event) {
    const auto [x, y] = cellPosition(event);
    emit mouseUp(mouseButtonCode(event->button()), shiftCode(event->modifiers()), x, y);
}

CanvasHost::CanvasHost(PictureCanvas* canvas, int initialZoom, QWidget* parent)
    : QWidget(parent), m_canvas(canvas), m_initialZoom(initialZoom) {
    canvas->setParent(this);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize CanvasHost::sizeHint() const {
    return m_canvas->sizeForZoom(m_initialZoom);
}

QSize CanvasHost::minimumSizeHint() const {
    return m_canvas->sizeForZoom(kMinimumZoom);
}

void CanvasHost::setGridSize(int rows, int columns) {
    m_canvas->setGridSize(rows, columns);
    updateGeometry();
    fit();
}

void CanvasHost::resizeEvent(QResizeEvent*) {
    fit();
}

void CanvasHost::fit() {
    const QSize one = m_canvas->sizeForZoom(1);
    const int fit =
        std::max(kMinimumZoom, std::min(width() / one.width(), height() / one.height()));
    m_canvas->setZoom(m_initialZoom <= fit ? std::max(m_initialZoom, fit) : fit);
    m_canvas->move((width() - m_canvas->width()) / 2, (height() - m_canvas->height()) / 2);
}

} // namespace core
