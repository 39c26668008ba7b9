// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>

#include "core/model/draw_tool.h"
#include "core/model/picture_operations.h"

class QAction;
class QMainWindow;
class QMenu;

namespace core {

class History;
struct DocumentState;

// The main window's menus: File (Open, Save, Save As..., Import..., Convert Image..., Page
// Setup, Print, Exit), Edit (Undo, Redo, Copy, Paste, then Cut, Paste as Selection, Select
// All), Draw (ClrDraw and Tools... with the twelve tools, then Fill, Text and Select, the swap
// key and the two letterings), View (zoom and grid), Picture (operations on the selection or
// the whole picture) and Help (Instructions, About), with the standard shortcuts. The window
// connects the items to its handlers.
struct EditorMenus {
    QAction* miOpen = nullptr;
    QAction* miSave = nullptr;
    QAction* miSaveAs = nullptr;
    QAction* miImport = nullptr;
    QAction* miConvert = nullptr;
    QAction* mipgset = nullptr;
    QAction* miPrint = nullptr;
    QAction* miExit = nullptr;
    QMenu* miNew = nullptr; // after the specified items: a new picture for a chosen calculator
    QAction* miUndo = nullptr;
    QAction* miRedo = nullptr;
    QAction* miCopy = nullptr;
    QAction* miPaste = nullptr;
    QAction* miCut = nullptr;
    QAction* miPasteSelection = nullptr;
    QAction* miSelectAll = nullptr;
    QAction* miCls = nullptr;
    QMenu* miTools = nullptr;
    std::array<QAction*, kToolCount + 1> miTool{}; // items 1..17
    QAction* miSwapInk = nullptr;
    QAction* miSmallLettering = nullptr;
    QAction* miLargeLettering = nullptr;
    QAction* miZoomIn = nullptr;
    QAction* miZoomOut = nullptr;
    QAction* miFit = nullptr;
    QAction* miGrid = nullptr;
    QMenu* miPicture = nullptr;
    // By PictureOperation.
    std::array<QAction*, 8> miOperation{};
    QAction* miInstructions = nullptr;
    QAction* miAbout = nullptr;

    void createMenus(QMainWindow* window);
    // The File and Edit items available in this state.
    void showState(const DocumentState& state, const History& history, bool canPaste);
    QAction* operationItem(PictureOperation operation) const {
        return miOperation[size_t(operation)];
    }
};

} // namespace core
