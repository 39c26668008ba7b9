// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/canvas_keys.h"

#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "core/model/picture_edits.h"
#include "core/model/rasterizers.h"
#include "core/ui/canvas_view.h"
#include "core/ui/editor_window.h"

namespace core {
namespace {

// A key that types a character: text without Ctrl, Alt or Meta.
bool typesText(const QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

} // namespace

CanvasKeys::CanvasKeys(EditorWindow& window, PictureEdits& edits, CanvasView& view)
    : QObject(&window), m_window(window), m_windowWidget(&window), m_canvas(window.Picture1),
      m_canvasObject(window.Picture1), m_edits(edits), m_view(view) {
    // A click on the canvas, or Tab, gives it the keys: Ctrl+Z for the picture, the tool keys.
    m_canvas->setFocusPolicy(Qt::StrongFocus);
    m_canvas->installEventFilter(this);
    // The text boxes are the programs' own, made after this: their Escape is caught on its
    // way to them.
    qApp->installEventFilter(this);
}

bool CanvasKeys::eventFilter(QObject* watched, QEvent* event) {
    // Only the pointers kept here: the filter sees events while the window is being destroyed,
    // after its own members are gone.
    if (watched != m_canvasObject) {
        if (event->type() == QEvent::KeyPress && m_canvas &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            auto* box = qobject_cast<QLineEdit*>(watched);
            if (box && box->window() == m_windowWidget) {
                m_canvas->setFocus(Qt::OtherFocusReason);
                return true;
            }
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // While text is typed its letters are text, not tool keys.
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_edits.typing() && typesText(key)) {
            key->accept();
            return true;
        }
        return false;
    }
    case QEvent::KeyPress:
        return canvasKey(static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Space || key->isAutoRepeat() || !m_spaceHeld)
            return false;
        m_spaceHeld = false;
        const bool panned = m_view.pannedWhileHeld();
        m_view.setPanKeyHeld(false);
        if (!panned)
            toggleToolPress();
        return true;
    }
    case QEvent::FocusOut:
        if (m_spaceHeld) { // the release will not come here
            m_spaceHeld = false;
            m_view.setPanKeyHeld(false);
        }
        return false;
    case QEvent::MouseMove: {
        if (m_keyDown)
            return true; // Space holds the tool down at the cursor; the pointer waits
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPointF at = mouse->position() / m_window.Picture1->zoom();
        m_cursor = QPoint(cellIndex(at.x()), cellIndex(at.y()));
        m_cursorPlaced = true;
        showCursor(false);
        return false;
    }
    case QEvent::MouseButtonPress:
        if (m_keyDown) // the mouse takes over: the key's press ends where the cursor is
            toggleToolPress();
        return false;
    default:
        return false;
    }
}

bool CanvasKeys::typedKey(QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        m_edits.commitText();
        return true;
    case Qt::Key_Backspace:
        m_edits.backspace();
        return true;
    default:
        break;
    }
    if (!typesText(key))
        return key->modifiers() == Qt::NoModifier; // the other plain keys wait for the text
    const PictureCanvas::Batch batch(*m_window.Picture1);
    for (const char32_t code : key->text().toUcs4())
        m_edits.type(code);
    return true;
}

bool CanvasKeys::canvasKey(QKeyEvent* key) {
    if (m_edits.typing())
        return typedKey(key);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const int step = modifiers == Qt::ShiftModifier ? 8 : 1;
    const bool plain = modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier;
    int columns = 0, rows = 0;
    switch (key->key()) {
    case Qt::Key_Left:
        columns = -step;
        break;
    case Qt::Key_Right:
        columns = step;
        break;
    case Qt::Key_Up:
        rows = -step;
        break;
    case Qt::Key_Down:
        rows = step;
        break;
    case Qt::Key_Space:
        if (!key->isAutoRepeat() && !m_spaceHeld) {
            m_spaceHeld = true;
            m_view.setPanKeyHeld(true);
        }
        return true;
    case Qt::Key_Delete:
    case Qt::Key_Backspace: {
        const PictureCanvas::Batch batch(*m_window.Picture1);
        return m_edits.deleteSelection();
    }
    case Qt::Key_Escape:
        if (m_edits.outline()) {
            m_edits.dropSelection();
            return true;
        }
        if (m_cursorShown && !m_keyDown) {
            showCursor(false);
            return true;
        }
        return false;
    default:
        return false;
    }
    if (!plain)
        return false;
    if (!m_keyDown && m_edits.selection().active()) {
        const PictureCanvas::Batch batch(*m_window.Picture1);
        m_edits.moveSelection(columns, rows);
        return true;
    }
    moveCursor(columns, rows);
    return true;
}

void CanvasKeys::placeCursorInView() {
    if (m_cursorPlaced)
        return;
    // The middle of what the window shows of the picture.
    const QWidget* viewport = m_view.viewport();
    const QPoint middle = m_window.Picture1->mapFrom(viewport, viewport->rect().center());
    const int zoom = m_window.Picture1->zoom();
    m_cursor = QPoint(middle.x() / zoom, middle.y() / zoom);
    m_cursorPlaced = true;
}

void CanvasKeys::moveCursor(int columns, int rows) {
    placeCursorInView();
    if (m_cursorShown) { // the first key only shows where the cursor is
        const PixelGrid& grid = m_window.grid();
        m_cursor.setX(std::clamp(m_cursor.x() + columns, 0, grid.columns() - 1));
        m_cursor.setY(std::clamp(m_cursor.y() + rows, 0, grid.rows() - 1));
    }
    showCursor(true);
    m_view.showCell(m_cursor.x(), m_cursor.y());
    if (m_keyDown)
        m_window.Picture1_MouseMove(kLeftButton, 0, m_cursor.x() + 0.5, m_cursor.y() + 0.5);
    else
        m_window.StatusBar1->showCell(m_cursor.x(), m_cursor.y());
}

void CanvasKeys::toggleToolPress() {
    placeCursorInView();
    const PixelGrid& grid = m_window.grid();
    m_cursor.setX(std::clamp(m_cursor.x(), 0, grid.columns() - 1));
    m_cursor.setY(std::clamp(m_cursor.y(), 0, grid.rows() - 1));
    const double x = m_cursor.x() + 0.5, y = m_cursor.y() + 0.5;
    showCursor(true);
    if (!m_keyDown) {
        m_keyDown = true;
        m_window.Picture1_MouseDown(kLeftButton, 0, x, y);
    } else {
        m_keyDown = false;
        m_window.Picture1_MouseUp(kLeftButton, 0, x, y);
    }
    m_window.StatusBar1->showCell(m_cursor.x(), m_cursor.y());
}

void CanvasKeys::showCursor(bool shown) {
    PictureCanvas* canvas = m_window.Picture1;
    const bool was = m_cursorShown;
    m_cursorShown = shown;
    const std::optional<std::pair<int, int>> cell =
        shown ? std::optional(std::pair(m_cursor.x(), m_cursor.y())) : std::nullopt;
    if (!was && !shown)
        return;
    canvas->overlay().cursor = cell;
    canvas->overlayChanged();
}

} // namespace core
