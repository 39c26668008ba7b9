// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// The drag-latency anchor: a bare window doing what a pen drag must do per pointer event, and
// no more: the cells from the last one to the pointer's filled in its own image, that
// rectangle repainted, and a read-out of the cell under the pointer repainted with its text.
//   drag_anchor ZOOM COLUMNS ROWS WIDTH HEIGHT
#include <algorithm>
#include <cstdlib>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "bench/drag_target.h"

namespace {

class Readout : public QWidget {
public:
    explicit Readout(QWidget* parent) : QWidget(parent) { setFixedSize(120, 20); }
    void setText(const QString& text) {
        m_text = text;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, m_text);
    }

private:
    QString m_text;
};

class BareCanvas : public QWidget {
public:
    BareCanvas(int zoom, int columns, int rows, Readout* readout, QWidget* parent)
        : QWidget(parent), m_zoom(zoom), m_columns(columns), m_rows(rows), m_readout(readout),
          m_image(columns * zoom, rows * zoom, QImage::Format_RGB32) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(m_image.size());
        m_image.fill(Qt::white);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter(this).drawImage(e->rect(), m_image, e->rect());
    }
    void mousePressEvent(QMouseEvent* e) override {
        m_last = cell(e);
        plot(m_last, m_last);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        const QPoint to = cell(e);
        m_readout->setText(QStringLiteral("(%1, %2)").arg(to.x(), 4).arg(to.y(), 4));
        if (e->buttons() & Qt::LeftButton) {
            plot(m_last, to);
            m_last = to;
        }
    }

private:
    QPoint cell(QMouseEvent* e) const {
        return QPoint(int(e->position().x()) / m_zoom, int(e->position().y()) / m_zoom);
    }
    // Every cell on the straight line between the two, each a square of the zoom's size.
    void plot(QPoint from, QPoint to) {
        const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
        QRect dirty;
        for (int i = 0; i <= steps; ++i) {
            const int c = from.x() + (steps ? (to.x() - from.x()) * i / steps : 0);
            const int r = from.y() + (steps ? (to.y() - from.y()) * i / steps : 0);
            if (c < 0 || r < 0 || c >= m_columns || r >= m_rows)
                continue;
            const QRect square(c * m_zoom, r * m_zoom, m_zoom, m_zoom);
            for (int y = square.top(); y <= square.bottom(); ++y)
                std::fill_n(reinterpret_cast<QRgb*>(m_image.scanLine(y)) + square.left(), m_zoom,
                            0xFF000000u);
            dirty |= square;
        }
        update(dirty);
    }

    int m_zoom, m_columns, m_rows;
    Readout* m_readout;
    QImage m_image;
    QPoint m_last;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 6)
        return 2;
    const int zoom = std::atoi(argv[1]), columns = std::atoi(argv[2]), rows = std::atoi(argv[3]);
    QWidget window;
    window.resize(std::atoi(argv[4]), std::atoi(argv[5]));
    auto* readout = new Readout(&window);
    auto* canvas = new BareCanvas(zoom, columns, rows, readout, &window);
    canvas->move(4, 4);
    readout->move(4, canvas->height() + 8);
    const bench::DragTarget target(&window, canvas, [=] {
        return bench::CanvasCells{zoom, columns, rows};
    });
    window.show();
    return app.exec();
}
