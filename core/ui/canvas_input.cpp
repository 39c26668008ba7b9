// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/canvas_input.h"

#include <QEvent>
#include <QMenu>

#include "core/model/edit_session.h"
#include "core/model/mouse_buttons.h"
#include "core/model/rasterizers.h"
#include "core/ui/picture_canvas.h"
#include "core/ui/status_panels.h"

namespace core {

bool CanvasInput::down(int button, double x, double y) {
    const PictureCanvas::Batch batch(m_canvas);
    if (button == kRightButton) {
        // The pop-up takes the left button's release: a shape being dragged ends here.
        m_tools.cancelDrag();
        m_tools.setAnchor(x, y);
        const QPoint at(int(x * m_canvas.zoom()), int(y * m_canvas.zoom()));
        m_toolMenu.popup(m_canvas.mapToGlobal(at)); // not exec(): nothing waits on it
        return false;
    }
    m_tools.setAnchor(x, y);
    m_session.press(x, y);
    return true;
}

void CanvasInput::move(int button, double x, double y) {
    m_status.showCell(cellIndex(x), cellIndex(y));
    const PictureCanvas::Batch batch(m_canvas);
    m_tools.drag(button, x, y);
}

void CanvasInput::up() {
    const PictureCanvas::Batch batch(m_canvas);
    m_session.release();
}

namespace {

class ActivationWatch : public QObject {
public:
    ActivationWatch(QWidget* window, ToolController& tools)
        : QObject(window), m_window(window), m_tools(tools) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::ActivationChange &&
            !m_window->isActiveWindow())
            m_tools.cancelDrag();
        return false;
    }

private:
    QWidget* m_window;
    ToolController& m_tools;
};

} // namespace

void endDragWhenInactive(QWidget* window, ToolController& tools) {
    new ActivationWatch(window, tools);
}

} // namespace core
