// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/canvas_view.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "core/ui/picture_canvas.h"

namespace core {
namespace {

constexpr int kMinimumFitZoom = 2;
// The steps of Zoom In and Zoom Out, in screen pixels per cell.
constexpr std::array<int, 15> kZooms{1, 2, 3, 4, 5, 6, 8, 10, 12, 16, 20, 24, 32, 40, 48};
// The surface holds every pixel of the zoomed picture: about 64 MB at most.
constexpr double kLargestSurfacePixels = 16.0e6;

} // namespace

CanvasView::CanvasView(PictureCanvas* canvas, int initialZoom, QWidget* parent)
    : QScrollArea(parent), m_canvas(canvas), m_initialZoom(initialZoom) {
    setFrameShape(QFrame::NoFrame);
    setAlignment(Qt::AlignCenter);
    setWidgetResizable(false);
    setWidget(canvas);
    setFitting(true);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus); // the keys are the canvas's
}

QSize CanvasView::sizeHint() const {
    return m_canvas->sizeForZoom(m_initialZoom);
}

QSize CanvasView::minimumSizeHint() const {
    return m_canvas->sizeForZoom(kMinimumFitZoom);
}

int CanvasView::maximumZoom() const {
    const QSize one = m_canvas->sizeForZoom(1);
    const double cells = std::max(1.0, double(one.width()) * one.height());
    const int largest = int(std::sqrt(kLargestSurfacePixels / cells));
    return std::clamp(largest, 1, kZooms.back());
}

bool CanvasView::canZoomIn() const {
    return m_canvas->zoom() < maximumZoom();
}

bool CanvasView::canZoomOut() const {
    return m_canvas->zoom() > kZooms.front();
}

int CanvasView::fitZoom() const {
    const QSize one = m_canvas->sizeForZoom(1);
    const QSize space = viewport()->size();
    const int fit = std::min(space.width() / one.width(), space.height() / one.height());
    return std::clamp(fit, kMinimumFitZoom, std::max(kMinimumFitZoom, maximumZoom()));
}

void CanvasView::setFitting(bool fitting) {
    m_fitting = fitting;
    // Fitting never needs a scroll bar, and one appearing would change what fits.
    const Qt::ScrollBarPolicy policy = fitting ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    setHorizontalScrollBarPolicy(policy);
    setVerticalScrollBarPolicy(policy);
}

void CanvasView::applyZoom(int zoom) {
    m_canvas->setZoom(zoom);
    if (zoomChanged)
        zoomChanged();
}

void CanvasView::showPicture(const PixelGrid& picture, CellKind kind, double monochromeFill,
                             bool drawn) {
    if (m_canvas->rows() != picture.rows() || m_canvas->columns() != picture.columns())
        setGridSize(picture.rows(), picture.columns()); // a calculator of another size
    // A colour picture shows its cells from the start: none and white are not the screen.
    if (drawn || kind != CellKind::Monochrome)
        m_canvas->rebuild(picture, cellFillOf(kind, monochromeFill), kind);
}

void CanvasView::setGridSize(int rows, int columns) {
    m_canvas->setGridSize(rows, columns);
    updateGeometry();
    applyZoom(m_fitting ? fitZoom() : std::min(m_canvas->zoom(), maximumZoom()));
}

void CanvasView::fitToWindow() {
    setFitting(true);
    applyZoom(fitZoom());
}

void CanvasView::zoomIn() {
    const int now = m_canvas->zoom();
    const auto next = std::upper_bound(kZooms.begin(), kZooms.end(), now);
    const int zoom = next == kZooms.end() ? now : std::min(*next, maximumZoom());
    zoomAt(std::max(zoom, now), viewport()->rect().center());
}

void CanvasView::zoomOut() {
    const int now = m_canvas->zoom();
    const auto below = std::lower_bound(kZooms.begin(), kZooms.end(), now);
    zoomAt(below == kZooms.begin() ? now : *std::prev(below), viewport()->rect().center());
}

void CanvasView::zoomAt(int zoom, QPoint at) {
    zoom = std::clamp(zoom, kZooms.front(), maximumZoom());
    const int before = m_canvas->zoom();
    // The picture's point under `at`, in cells, before the zoom changes.
    const QPointF cell = QPointF(at - m_canvas->pos()) / before;
    setFitting(false);
    applyZoom(zoom);
    // The scroll area placed the canvas for its new size; scroll so that the same point is
    // under `at` again (clamped by the scroll bars where the canvas is smaller).
    horizontalScrollBar()->setValue(int(std::lround(cell.x() * zoom - at.x())));
    verticalScrollBar()->setValue(int(std::lround(cell.y() * zoom - at.y())));
}

void CanvasView::showCell(int column, int row) {
    const int zoom = m_canvas->zoom();
    ensureVisible(column * zoom + zoom / 2, row * zoom + zoom / 2, zoom, zoom);
}

QPoint CanvasView::firstVisibleCell() const {
    const int zoom = m_canvas->zoom();
    return {std::max(0, -m_canvas->x() / zoom), std::max(0, -m_canvas->y() / zoom)};
}

void CanvasView::setPanKeyHeld(bool held) {
    if (held == m_panKey)
        return;
    m_panKey = held;
    if (held)
        m_panned = false;
    else
        m_panning = false;
    m_canvas->setCursor(held ? Qt::OpenHandCursor : Qt::CrossCursor);
}

void CanvasView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (m_fitting)
        applyZoom(fitZoom());
}

void CanvasView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QScrollArea::wheelEvent(event);
        return;
    }
    // One step for each notch (120 eighths of a degree); a fine wheel adds up to one.
    m_wheelDelta += event->angleDelta().y();
    const QPoint at = event->position().toPoint();
    while (std::abs(m_wheelDelta) >= 120) {
        const int now = m_canvas->zoom();
        const auto next = m_wheelDelta > 0 ? std::upper_bound(kZooms.begin(), kZooms.end(), now)
                                           : std::lower_bound(kZooms.begin(), kZooms.end(), now);
        int zoom = now;
        if (m_wheelDelta > 0 && next != kZooms.end())
            zoom = *next;
        else if (m_wheelDelta < 0 && next != kZooms.begin())
            zoom = *std::prev(next);
        zoomAt(zoom, at);
        m_wheelDelta -= m_wheelDelta > 0 ? 120 : -120;
    }
    event->accept();
}

bool CanvasView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_canvas || !m_panKey)
        return QScrollArea::eventFilter(watched, event);
    // With the pan key held the canvas's mouse events move the picture; none reaches a tool.
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            m_panning = true;
            m_panFrom = mouse->globalPosition().toPoint();
            m_canvas->setCursor(Qt::ClosedHandCursor);
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_panning) {
            const QPoint now = mouse->globalPosition().toPoint();
            const QPoint step = now - m_panFrom;
            m_panFrom = now;
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() - step.x());
            verticalScrollBar()->setValue(verticalScrollBar()->value() - step.y());
            m_panned = m_panned || !step.isNull();
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_panning = false;
        m_canvas->setCursor(Qt::OpenHandCursor);
        return true;
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return QScrollArea::eventFilter(watched, event);
    }
}

} // namespace core
