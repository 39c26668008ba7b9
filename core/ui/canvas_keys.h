// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QKeyEvent;

namespace core {

class CanvasView;
class EditorWindow;
class PictureCanvas;
class PictureEdits;

// The keys while the canvas has the focus, beyond the tool keys (menu shortcuts of their
// own): the text being typed takes every printable key; the arrow keys nudge the selection
// or move a cell cursor (the view follows it), Space presses the current tool there and
// releases it at the next Space, so every tool works without a mouse; held while dragging,
// Space pans instead. Delete clears the selection, Escape lets it go. In a text box of the
// window, Escape gives the focus back to the canvas.
class CanvasKeys : public QObject {
public:
    CanvasKeys(EditorWindow& window, PictureEdits& edits, CanvasView& view);

    // The cell the keys act on; shown on the canvas once a key has moved it.
    QPoint cursor() const { return m_cursor; }
    bool cursorShown() const { return m_cursorShown; }
    // Space has pressed the tool and not yet released it.
    bool keyPressed() const { return m_keyDown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool canvasKey(QKeyEvent* key);
    bool typedKey(QKeyEvent* key);
    void moveCursor(int columns, int rows);
    void toggleToolPress();
    void showCursor(bool shown);
    void placeCursorInView();

    EditorWindow& m_window;
    QWidget* m_windowWidget;
    QPointer<QWidget> m_canvas;
    const QObject* m_canvasObject; // compared, never used

    PictureEdits& m_edits;
    CanvasView& m_view;
    QPoint m_cursor;
    bool m_cursorShown = false;
    bool m_cursorPlaced = false; // by the pointer or a key: it has a cell of its own
    bool m_keyDown = false;
    bool m_spaceHeld = false;
};

} // namespace core
