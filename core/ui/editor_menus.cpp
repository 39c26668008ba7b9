// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/editor_menus.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "core/model/document.h"

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
    miCut = action("Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X));
    miPasteSelection =
        action("Paste as &Selection", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    // Only while the canvas has the focus: a text box keeps Ctrl+A for its text.
    miSelectAll = action("Select &All", QKeySequence(Qt::CTRL | Qt::Key_A));
    miSelectAll->setShortcutContext(Qt::WidgetShortcut);
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
    edit->addSeparator();
    edit->addActions({miCut, miPasteSelection, miSelectAll});

    QMenu* draw = bar->addMenu(QMainWindow::tr("&Draw"));
    draw->addAction(miCls);
    miTools = draw->addMenu(QMainWindow::tr("&Tools..."));
    for (const DrawToolInfo& info : kDrawTools) {
        if (info.number == kFirstAddedTool)
            miTools->addSeparator();
        QAction* item = miTools->addAction(
            QString::fromLatin1(info.caption.data(), qsizetype(info.caption.size())));
        item->setCheckable(true);
        // The tool keys act only while the canvas has the focus, so letters typed into a text
        // box stay text; the menu shows them all the same.
        if (info.key) {
            item->setShortcut(QKeySequence(info.key));
            item->setShortcutContext(Qt::WidgetShortcut);
        }
        miTool[size_t(info.number)] = item;
    }
    miTools->addSeparator();
    miSwapInk = miTools->addAction(QMainWindow::tr("Black/White S&wap"));
    miSwapInk->setShortcut(QKeySequence(Qt::Key_X));
    miSwapInk->setShortcutContext(Qt::WidgetShortcut);
    draw->addSeparator();
    auto* letterings = new QActionGroup(window);
    miSmallLettering = draw->addAction(QMainWindow::tr("&Small Lettering"));
    miLargeLettering = draw->addAction(QMainWindow::tr("&Large Lettering"));
    for (QAction* item : {miSmallLettering, miLargeLettering}) {
        item->setCheckable(true);
        letterings->addAction(item);
    }
    miSmallLettering->setChecked(true);

    QMenu* view = bar->addMenu(QMainWindow::tr("&View"));
    miZoomIn = action("Zoom &In");
    miZoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    miZoomOut = action("Zoom &Out", QKeySequence(Qt::CTRL | Qt::Key_Minus));
    miFit = action("&Fit to Window", QKeySequence(Qt::CTRL | Qt::Key_0));
    miFit->setCheckable(true);
    miFit->setChecked(true);
    miGrid = action("Show &Grid", QKeySequence(Qt::CTRL | Qt::Key_G));
    miGrid->setCheckable(true);
    view->addActions({miZoomIn, miZoomOut, miFit});
    view->addSeparator();
    view->addAction(miGrid);

    miPicture = bar->addMenu(QMainWindow::tr("&Picture"));
    const struct {
        PictureOperation operation;
        const char* caption;
        QKeySequence keys;
    } operations[] = {
        {PictureOperation::Invert, "&Invert", QKeySequence(Qt::CTRL | Qt::Key_I)},
        {PictureOperation::FlipHorizontal, "Flip &Horizontal", {}},
        {PictureOperation::FlipVertical, "Flip &Vertical", {}},
        {PictureOperation::Rotate180, "&Rotate 180\u00B0", {}},
        {PictureOperation::ShiftLeft, "Shift &Left",
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left)},
        {PictureOperation::ShiftRight, "Shift Ri&ght",
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right)},
        {PictureOperation::ShiftUp, "Shift &Up", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up)},
        {PictureOperation::ShiftDown, "Shift &Down",
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down)},
    };
    for (const auto& o : operations) {
        if (o.operation == PictureOperation::ShiftLeft)
            miPicture->addSeparator();
        QAction* item = action(o.caption, o.keys);
        miPicture->addAction(item);
        miOperation[size_t(o.operation)] = item;
    }

    QMenu* help = bar->addMenu(QMainWindow::tr("&Help"));
    help->addActions({miInstructions, miAbout});
}

void EditorMenus::showState(const DocumentState& state, const History& history, bool canPaste) {
    miOpen->setEnabled(state.open);
    miSave->setEnabled(state.save);
    miSaveAs->setEnabled(state.saveAs);
    miPrint->setEnabled(state.print);
    miUndo->setEnabled(history.canUndo());
    miRedo->setEnabled(history.canRedo());
    miCopy->setEnabled(state.pictureExists());
    miPaste->setEnabled(canPaste);
}

} // namespace core
