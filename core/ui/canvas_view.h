// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>

#include <QPoint>
#include <QScrollArea>

#include "core/model/cell_kind.h"
#include "core/model/pixel_grid.h"

namespace core {

class PictureCanvas;

// The View menu's zoom and the scrolling it needs. Fitting (the start-up state) keeps the canvas
// in the middle of the window's free space, as large as whole pixels per cell allow, growing
// with the window; a zoom chosen with Zoom In or Out stays as the window changes and scrolls
// where the canvas is larger than the space. Ctrl and the wheel zoom at the pointer; with the
// pan key held a drag moves the picture instead of drawing.
class CanvasView : public QScrollArea {
    Q_OBJECT
public:
    CanvasView(PictureCanvas* canvas, int initialZoom, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The canvas shows a picture of another size: fitting, the zoom that fits is chosen again;
    // a chosen zoom stays unless the larger picture's surface would be too large for it.
    void setGridSize(int rows, int columns);
    // Shows the picture's cells, at their size, the squares of a monochrome picture as large as
    // `monochromeFill` says. A monochrome picture not `drawn` yet is not shown: the screen is.
    void showPicture(const PixelGrid& picture, CellKind kind, double monochromeFill, bool drawn);

    bool fitting() const { return m_fitting; }
    void fitToWindow();
    void zoomIn();
    void zoomOut();
    // Sets the zoom, keeping the picture's point under `at` (viewport pixels) where it is.
    void zoomAt(int zoom, QPoint at);
    // The largest zoom, kept where the canvas's surface stays a reasonable size.
    int maximumZoom() const;
    bool canZoomIn() const;
    bool canZoomOut() const;
    // Scrolls as little as shows the cell whole.
    void showCell(int column, int row);
    // The cell at the viewport's top-left corner, or (0, 0) when the picture starts below
    // and right of it.
    QPoint firstVisibleCell() const;

    // The pan key (Space) is held; a drag while it is, pans.
    void setPanKeyHeld(bool held);
    // Whether a pan happened since the key went down.
    bool pannedWhileHeld() const { return m_panned; }

    // Runs after every change of zoom or of fitting, for the menu's checks and enabled items.
    std::function<void()> zoomChanged;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int fitZoom() const;
    void setFitting(bool fitting);
    void applyZoom(int zoom);

    PictureCanvas* m_canvas;
    int m_initialZoom;
    bool m_fitting = true;
    bool m_panKey = false;
    bool m_panning = false;
    bool m_panned = false;
    QPoint m_panFrom;     // global pointer position at the last pan step
    int m_wheelDelta = 0; // a wheel's eighths of a degree not yet turned into a zoom step
};

} // namespace core
