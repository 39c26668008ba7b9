// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/editor_menus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "core/model/draw_tool.h"

namespace core {

void EditorMenus::createMenus(QMainWindow* window) {
    auto action = [window](const char* text, QKeySequence keys = {}) {
        auto* a = new QAction(QMainWindow::tr(text), window);
        a->setShortcut(keys);
        return a;
    };
    miOpen = action("&Open...", QKeySequence::Open);
    miSave = action("&Save", QKeySequence::Save);
    miSaveAs = action("Save &As...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    miImport = action("&Import...");
    miConvert = action("Con&vert Image...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    miUndo = action("&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z));
    miRedo = action("&Redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    miRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    miCopy = action("&Copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    miPaste = action("&Paste", QKeySequence(Qt::CTRL | Qt::Key_V));
    mipgset = action("Page Setup");
    miPrint = action("&Print", QKeySequence::Print);
    miExit = action("E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q));
    miCls = action("&ClrDraw");
    miInstructions = action("&Instructions", QKeySequence::HelpContents);
    miAbout = action("&About");

    QMenuBar* bar = window->menuBar();
    QMenu* file = bar->addMenu(QMainWindow::tr("&File"));
    file->addActions({miOpen, miSave, miSaveAs, miImport, miConvert});
    file->addSeparator();
    file->addActions({mipgset, miPrint});
    file->addSeparator();
    file->addAction(miExit);
    file->addSeparator();
    miNew = file->addMenu(QMainWindow::tr("&New Picture"));

    QMenu* edit = bar->addMenu(QMainWindow::tr("&Edit"));
    edit->addActions({miUndo, miRedo});
    edit->addSeparator();
    edit->addActions({miCopy, miPaste});

    QMenu* draw = bar->addMenu(QMainWindow::tr("&Draw"));
    draw->addAction(miCls);
    miTools = draw->addMenu(QMainWindow::tr("&Tools..."));
    for (const DrawToolInfo& info : kDrawTools) {
        QAction* item = miTools->addAction(
            QString::fromLatin1(info.caption.data(), qsizetype(info.caption.size())));
        item->setCheckable(true);
        miTool[size_t(info.number)] = item;
    }

    QMenu* help = bar->addMenu(QMainWindow::tr("&Help"));
    help->addActions({miInstructions, miAbout});
}

} // namespace core
