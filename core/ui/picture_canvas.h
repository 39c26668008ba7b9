// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>
#include <utility>
#include <vector>

#include <QRect>

#include <QImage>
#include <QWidget>

#include "core/model/canvas.h"
#include "core/model/cell_kind.h"
#include "core/model/pixel_grid.h"
#include "core/ui/canvas_overlay.h"

namespace core {

// The zoomed canvas: one RGB32 surface the size of the widget, whole screen pixels per cell,
// antialiasing off so XOR figures drawn twice vanish without a trace. Pointer positions are
// reported in cell units, fractions kept.
class PictureCanvas final : public QWidget, public Canvas {
    Q_OBJECT
public:
    PictureCanvas(int rows, int columns, int zoom, QWidget* parent = nullptr);

    int zoom() const { return m_zoom; }
    void setZoom(int zoom);
    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    // A picture of another size: the canvas takes it at the same zoom (its host refits it).
    void setGridSize(int rows, int columns);
    QSize sizeForZoom(int zoom) const { return {m_columns * zoom, m_rows * zoom}; }
    // What the canvas shows. Made on first use: an empty canvas needs none to be painted.
    const QImage& surface() const {
        ensureSurface();
        return m_surface;
    }

    // Everything drawn while one lives (the cells of one pointer event, say) reaches the
    // screen as one update of the rectangle around it.
    class Batch {
    public:
        explicit Batch(PictureCanvas& canvas) : m_canvas(canvas) {
            if (m_canvas.m_batchDepth++ == 0) {
                m_canvas.ensureSurface();
                m_canvas.m_batchBits = m_canvas.m_surface.bits();
            }
        }
        ~Batch() {
            if (--m_canvas.m_batchDepth == 0) {
                m_canvas.m_batchBits = nullptr;
                m_canvas.updateArea(std::exchange(m_canvas.m_batchArea, QRect()));
            }
        }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        PictureCanvas& m_canvas;
    };

    // The whole surface from the grid: background, and each dark cell's square in black; of a
    // colour grid, each cell's square in its colour (a palette's none a light checker).
    // Row by row, one line of pixels per grid row copied to the pixel rows of its squares:
    // the same pixels as filling every cell's square, as a tool paints it, on a clear surface.
    void rebuild(const PixelGrid& grid, double fill, CellKind kind = CellKind::Monochrome);

    // Run whenever the surface is (re)made, to redraw it from the grid.
    void setRepaintHandler(std::function<void()> handler) { m_repaint = std::move(handler); }

    void setForeground(Rgb colour) override { m_foreground = colour; }
    Rgb background() const override { return m_background; }
    void setDrawMode(DrawMode mode) override { m_mode = mode; }
    DrawMode drawMode() const override { return m_mode; }
    void fillCell(int column, int row, double fill) override;
    void drawLine(double x1, double y1, double x2, double y2, Rgb colour) override;
    void drawRectOutline(double x1, double y1, double x2, double y2, Rgb colour) override;
    void drawEllipseOutline(double cx, double cy, double radius, double aspect,
                            Rgb colour) override;
    void clear() override;

    QSize sizeHint() const override { return sizeForZoom(m_zoom); }

    // The marks painted over the surface (grid, selection, text, cursor); after changing
    // them, overlayChanged repaints what they cover.
    CanvasOverlay& overlay() { return m_overlay; }
    void overlayChanged(const QRect& area = QRect());

signals:
    // button: 1 left, 2 right, 4 middle (for moves, the sum of those held); x, y in cells.
    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::pair<double, double> cellPosition(const QMouseEvent* event) const;
    int toPixel(double cells) const;
    void fillPixels(int left, int top, int right, int bottom);
    // The pixels of a line of squares for each byte of eight cells, at this zoom.
    void prepareStamps(int size);
    // rebuild's line of squares for one grid row of colour cells.
    void colourLine(const PixelGrid& grid, CellKind kind, int row, int size, QRgb* line) const;
    // Asks for a repaint of the area at once, keeping the widget's pending update one
    // rectangle: a long drag with no time to paint must not pile up a region of thousands of
    // them. Nothing holds the paint back: with no paint pending it comes as soon as the event
    // is handled, and while paints fall behind events Qt folds every request into the next.
    void updateArea(const QRect& area);
    void ensureSurface() const;
    // A surface of the widget's size, its pixels not yet drawn.
    void allocateSurface();
    // A new surface, clear, then drawn by the repaint handler.
    void remakeSurface();
    // Rubber-band figures: a one-pixel outline in the current draw mode.
    template <class Draw> void drawOutline(Rgb colour, Draw draw);

    int m_rows;
    int m_columns;
    int m_zoom;
    mutable QImage m_surface;
    Rgb m_background = kScreenColour;
    Rgb m_foreground = kBlack;
    DrawMode m_mode = DrawMode::Copy;
    int m_batchDepth = 0;
    uchar* m_batchBits = nullptr; // the surface's pixels, fetched once for a batch
    QRect m_batchArea;            // what the batch drew
    QRect m_pendingArea;          // asked to be repainted and not yet painted
    std::vector<QRgb> m_stamps;   // 256 x 8 cells' pixels, for rebuild
    int m_stampZoom = 0;
    int m_stampSize = 0;
    std::function<void()> m_repaint;
    CanvasOverlay m_overlay;
};

// Holds the canvas in the middle of the window's free space, as large as whole pixels per
// cell allow; it starts at the profile's zoom where that fits and grows with the window.
class CanvasHost : public QWidget {
public:
    CanvasHost(PictureCanvas* canvas, int initialZoom, QWidget* parent);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The canvas shows a picture of another size: the zoom that fits is chosen again.
    void setGridSize(int rows, int columns);

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    void fit();

    PictureCanvas* m_canvas;
    int m_initialZoom;
};

} // namespace core
