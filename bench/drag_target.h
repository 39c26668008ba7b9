// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <cstdio>
#include <functional>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace bench {

// The canvas's pixels per cell and its size in cells, as laid out when the window shows.
struct CanvasCells {
    int zoom, columns, rows;
};

// Tells the drag-latency benchmark, once the window's first frame is painted, where to drag:
// "WINDOW X Y ZOOM COLUMNS ROWS", the X window, the canvas's corner in it, its pixels per cell
// and its size in cells. The program then runs on until it is ended.
class DragTarget : public QObject {
public:
    DragTarget(QWidget* window, QWidget* canvas, std::function<CanvasCells()> cells)
        : m_window(window), m_canvas(canvas), m_cells(std::move(cells)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (!m_told && event->type() == QEvent::Paint) {
            m_told = true;
            QTimer::singleShot(0, this, [this] {
                const QPoint corner = m_canvas->mapTo(m_window, QPoint(0, 0));
                const CanvasCells cells = m_cells();
                std::printf("%llu %d %d %d %d %d\n",
                            static_cast<unsigned long long>(m_window->winId()), corner.x(),
                            corner.y(), cells.zoom, cells.columns, cells.rows);
                std::fflush(stdout);
            });
        }
        return false;
    }

private:
    QWidget* m_window;
    QWidget* m_canvas;
    std::function<CanvasCells()> m_cells;
    bool m_told = false;
};

} // namespace bench
