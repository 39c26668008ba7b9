// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>
#include <optional>

#include <QImage>
#include <QObject>
#include <QTimer>

#include "core/model/document_state.h"
#include "core/model/picture_edits.h"
#include "core/platform/prompts.h"

class QWidget;

namespace core {

class CanvasView;
class ClipboardCommands;
class EditorWindow;
class PictureCanvas;
struct EditorMenus;

// The Edit menu's selection commands (Cut, Copy of the selection, Paste as Selection, Select
// All), the Picture menu, the letterings, the swap key and the View menu's items, wired to the
// model's edits, with the canvas's keys (CanvasKeys); and what the canvas shows of them over
// the cells: the marching ants, the text being typed and its caret, the grid.
class PictureEditing : public QObject {
public:
    struct Parts {
        QWidget* window;
        EditorMenus& menus;
        PictureEdits& edits;
        PictureCanvas* canvas;
        CanvasView* view;
        ClipboardCommands* clipboard;
        Prompts& prompts;
        double cellFill; // the part of a cell a dark square covers
        const Document& document;
        const ToolController& tools; // the ink text is typed in
        // Runs whenever the enabled items may have changed.
        std::function<void()> stateChanged;
    };
    explicit PictureEditing(Parts parts);
    // The parts from the window, which also gets the canvas's keys and the swap key.
    PictureEditing(EditorWindow& window, ClipboardCommands* clipboard, Prompts& prompts,
                   std::function<void()> stateChanged);

    // The enabled items of the menus this unit wires, for the window's one place that sets
    // them all.
    void applyState(const DocumentState& state);
    // Copy: the selection's cells, or the whole picture with none.
    void copy(const PixelGrid& picture);
    void cut();
    void pasteAsSelection();

    // A clipboard picture at most `rows` by `columns` whose pixels are cells of `kind` as
    // they are: black and white; the palette's colours (transparent is none); any colour,
    // to the nearest RGB565 (transparent is white). Nothing for any other.
    static std::optional<PixelGrid> exactCells(const QImage& image, int rows, int columns,
                                               CellKind kind);

private:
    void showEdits();
    void marchAnts();

    Parts m_parts;
    QTimer m_ants;
};

} // namespace core
