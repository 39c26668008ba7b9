// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// What a user waits for on the canvas: a full repaint, and a long drag with no time to paint in
// between; each beside the floor Qt itself sets. A pen drag's latency to the screen is
// drag_latency_bench's.
#include <cstdio>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include "bench/bench_app.h"
#include "bench/harness.h"
#include "core/ui/canvas_view.h"
#include "dotwell/frm_dotwell.h"
#include "pixvane/frm_pixvane.h"
#include "tests/support/scripted_prompts.h"

namespace {

// Counts the paints a widget gets, to be sure a figure includes them.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

// The floor: a bare widget showing its own image of the same size, painting what changed.
class BareCanvas : public QWidget {
public:
    explicit BareCanvas(QSize size) : m_image(size, QImage::Format_RGB32) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(size);
        m_image.fill(Qt::white);
    }
    // What a pen drag must do at the least: ten 3 x 3 squares, one update.
    void plotTen(int x0, int y0) {
        QRect dirty;
        for (int i = 0; i < 10; ++i) {
            const QRect square(x0 + 4 * i, y0, 3, 3);
            for (int y = square.top(); y <= square.bottom(); ++y)
                std::fill_n(reinterpret_cast<QRgb*>(m_image.scanLine(y)) + square.left(), 3,
                            0xFF000000u);
            dirty |= square;
        }
        update(dirty);
    }
    QImage& image() { return m_image; }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter(this).drawImage(e->rect(), m_image, e->rect());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        plotTen(int(e->position().x()), int(e->position().y()));
    }

private:
    QImage m_image;
};

void send(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, w->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

struct Editor {
    Editor() {
        window.endProgram = [] {};
        window.Form_Load(QString());
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            std::printf("the window was never exposed\n");
        QApplication::processEvents();
    }
    testing_support::ScriptedPrompts prompts;
    pixvane::FrmPixvane window{prompts};
};

void fillGrid(core::Document& document) {
    core::PixelGrid all(document.picture().rows(), document.picture().columns());
    for (int r = 0; r < all.rows(); ++r)
        for (int c = 0; c < all.columns(); ++c)
            all.set(r, c, 1);
    document.replacePicture(all, "Conversion");
}

void repaints(Editor& e) {
    core::PictureCanvas* canvas = e.window.Picture1;
    e.window.Picture1_MouseDown(1, 0, 0.5, 0.5); // a picture now exists
    fillGrid(e.window.document());
    for (int zoom : {1, 2, 4, 8}) {
        canvas->setZoom(zoom);
        QImage plain(canvas->size(), QImage::Format_RGB32);
        const bench::Comparison c =
            bench::compare([&] { e.window.Picture1_Paint(); }, [&] { plain.fill(Qt::black); }, 20);
        const std::string measure =
            "canvas rebuild, all dark, zoom " + std::to_string(zoom) + " (anchor: QImage::fill)";
        if (zoom == 4)
            bench::report(measure, c, "us", "ratio <= 3", c.ratio.median() <= 3);
        else
            bench::report(measure, c, "us", "-", true, false);
    }
    canvas->setZoom(4);
    QApplication::processEvents();

    // Shown: a repaint the window system asks for (an expose) copies the surface, which is
    // rebuilt only when the grid changes; against a bare widget of the same size repainting
    // a copy of a same-size image.
    BareCanvas bare(canvas->size());
    bare.image().fill(Qt::black);
    bare.show();
    if (!QTest::qWaitForWindowExposed(&bare))
        std::printf("the anchor was never exposed\n");
    PaintCounter paints(canvas);
    const bench::Comparison shown =
        bench::compare([&] { canvas->repaint(); }, [&] { bare.repaint(); }, 20);
    std::printf("  canvas paints: %d\n", paints.paints);
    bench::report("window-system repaint of the canvas, zoom 4 (anchor: bare widget)", shown, "us",
                  "ratio <= 1.25", shown.ratio.median() <= 1.25 && paints.paints > 0);
    // And when the picture itself changed (a file opened): the rebuild and that repaint.
    const bench::Comparison changed = bench::compare(
        [&] {
            e.window.Picture1_Paint();
            canvas->repaint();
        },
        [&] { bare.repaint(); }, 20);
    bench::report("  after a grid change: rebuild, then repaint", changed, "us", "-", true, false);
}

// Ten thousand drag events with no event processing in between: the last thousand against
// the first thousand.
void longDrag(Editor& e) {
    core::PictureCanvas* canvas = e.window.Picture1;
    const int zoom = canvas->zoom();
    e.window.miTool_Click(1);
    bench::Comparison c;
    for (int rep = 0; rep < 21; ++rep) {
        e.window.miCls_Click();
        send(canvas, QEvent::MouseButtonPress, QPointF(2.5 * zoom, 2.5 * zoom), Qt::LeftButton);
        send(canvas, QEvent::MouseButtonPress, QPointF(2.5 * zoom, 2.5 * zoom), Qt::LeftButton);
        std::vector<double> times;
        times.reserve(10000);
        for (int i = 0; i < 10000; ++i) {
            // A zigzag over the whole canvas, a few cells per event.
            const double x = 2.5 + (i * 3) % 230;
            const double y = 2.5 + (i / 77 * 5) % 98;
            const double start = bench::now();
            send(canvas, QEvent::MouseMove, QPointF(x * zoom, y * zoom), Qt::LeftButton);
            times.push_back(bench::now() - start);
        }
        send(canvas, QEvent::MouseButtonRelease, QPointF(2.5 * zoom, 2.5 * zoom), Qt::NoButton);
        QApplication::processEvents();
        double first = 0, last = 0;
        for (int i = 0; i < 1000; ++i) {
            first += times[size_t(i)] / 1000;
            last += times[size_t(9000 + i)] / 1000;
        }
        c.ours.values.push_back(last);
        c.anchor.values.push_back(first);
        c.ratio.values.push_back(last / first);
    }
    bench::report("10,000-event drag: last 1,000 events (anchor: first 1,000)", c, "us",
                  "ratio <= 1.2", c.ratio.median() <= 1.2);
}

// A pen drag on a colour picture against the same drag on a monochrome one: two dotwell
// windows at the same zoom, 200 moves a few cells apart, each handled and painted.
void colourDrag() {
    testing_support::ScriptedPrompts prompts;
    dotwell::FrmDotwell colour{prompts}, mono{prompts};
    for (auto [window, item] : {std::pair{&colour, 6}, std::pair{&mono, 1}}) {
        window->endProgram = [] {};
        window->Form_Load(QString());
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            std::printf("the window was never exposed\n");
        window->miNew->actions()[item]->trigger(); // TI-84 Plus CE picture; TI-83 picture
        window->view()->zoomAt(4, QPoint());
        window->miTool_Click(1);
        window->Picture1_MouseDown(1, 0, 2.5, 2.5); // arms the pen
        QApplication::processEvents();
    }
    auto drag = [](dotwell::FrmDotwell& w) {
        core::PictureCanvas* canvas = w.Picture1;
        const int zoom = canvas->zoom();
        send(canvas, QEvent::MouseButtonPress, QPointF(2.5 * zoom, 2.5 * zoom), Qt::LeftButton);
        for (int i = 0; i < 200; ++i) {
            const double x = 2.5 + (i * 3) % 90, y = 2.5 + (i / 30 * 7) % 60;
            send(canvas, QEvent::MouseMove, QPointF(x * zoom, y * zoom), Qt::LeftButton);
            QApplication::processEvents(); // the paint the move asked for
        }
        send(canvas, QEvent::MouseButtonRelease, QPointF(2.5 * zoom, 2.5 * zoom), Qt::NoButton);
        QApplication::processEvents();
    };
    const bench::Comparison c = bench::compare([&] { drag(colour); }, [&] { drag(mono); }, 1);
    bench::report("colour pen drag, 200 moves painted (anchor: the same on a monochrome picture)",
                  c, "us", "ratio <= 1.1", c.ratio.median() <= 1.1);
}

} // namespace

int main(int argc, char** argv) {
    bench::choosePlatform();
    QApplication app(argc, argv);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    {
        Editor e;
        repaints(e);
    }
    {
        Editor e;
        longDrag(e);
    }
    colourDrag();
    return 0;
}
