// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>

class QAction;
class QMainWindow;
class QMenu;

namespace core {

// The main window's menus: File (Open, Save, Save As..., Import..., Convert Image..., Page
// Setup, Print, Exit), Edit (Undo, Redo, Copy, Paste), Draw (ClrDraw and Tools... with the
// twelve tools) and Help (Instructions, About), with the standard shortcuts. The window
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
    QAction* miCls = nullptr;
    QMenu* miTools = nullptr;
    std::array<QAction*, 13> miTool{}; // items 1..12
    QAction* miInstructions = nullptr;
    QAction* miAbout = nullptr;

    void createMenus(QMainWindow* window);
};

} // namespace core
