// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

class QMenu;
class QWidget;

namespace core {

class EditSession;
class PictureCanvas;
class StatusPanels;
class ToolController;

// The canvas's mouse: a left or middle press opens a step that its release closes, a move
// drags the tool and shows the cell under the pointer, a right press pops the tool menu up
// where it was pressed. What each draws reaches the screen as one update.
class CanvasInput {
public:
    CanvasInput(PictureCanvas& canvas, ToolController& tools, EditSession& session,
                StatusPanels& status, QMenu& toolMenu)
        : m_canvas(canvas), m_tools(tools), m_session(session), m_status(status),
          m_toolMenu(toolMenu) {}

    // False for the right button, which changes nothing of the document.
    bool down(int button, double x, double y);
    void move(int button, double x, double y);
    void up();

private:
    PictureCanvas& m_canvas;
    ToolController& m_tools;
    EditSession& m_session;
    StatusPanels& m_status;
    QMenu& m_toolMenu;
};

// Another window taking over from `window` (a dialog, a switch to another program) ends a
// shape drag: its release would never reach the canvas.
void endDragWhenInactive(QWidget* window, ToolController& tools);

} // namespace core
