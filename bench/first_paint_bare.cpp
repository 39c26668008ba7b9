// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// The start-up anchor: a bare main window with the same widgets as an editor's, made with plain
// Qt and nothing of ours: the same menus and shortcuts, fifteen 24 x 22 toolbar pictures, the
// canvas as a widget filling itself, the editor's boxes, and a status bar of a label and a
// read-out.   first_paint_bare dotwell|pixvane
#include <cstring>

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "bench/first_paint.h"

namespace {

class Filled : public QWidget {
public:
    Filled(QSize size, QColor colour, QWidget* parent) : QWidget(parent), m_colour(colour) {
        setFixedSize(size);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* e) override { QPainter(this).fillRect(e->rect(), m_colour); }

private:
    QColor m_colour;
};

void addMenus(QMainWindow& window) {
    auto add = [&window](QMenu* menu, const char* text, QKeySequence keys = {}) {
        auto* a = new QAction(QString::fromLatin1(text), &window);
        a->setShortcut(keys);
        menu->addAction(a);
    };
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    add(file, "&Open...", QKeySequence::Open);
    add(file, "&Save", QKeySequence::Save);
    add(file, "Save &As...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    add(file, "&Import...");
    add(file, "Con&vert Image...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    file->addSeparator();
    add(file, "Page Setup");
    add(file, "&Print", QKeySequence::Print);
    file->addSeparator();
    add(file, "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q));
    QMenu* edit = window.menuBar()->addMenu(QStringLiteral("&Edit"));
    add(edit, "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z));
    add(edit, "&Redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    edit->addSeparator();
    add(edit, "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    add(edit, "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V));
    QMenu* draw = window.menuBar()->addMenu(QStringLiteral("&Draw"));
    add(draw, "&ClrDraw");
    QMenu* tools = draw->addMenu(QStringLiteral("&Tools..."));
    for (int i = 0; i < 13; ++i)
        tools->addAction(QStringLiteral("Tool %1").arg(i))->setCheckable(true);
    QMenu* help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    add(help, "&Instructions", QKeySequence::HelpContents);
    add(help, "&About");
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool dotwell = argc > 1 && std::strcmp(argv[1], "dotwell") == 0;
    QApplication::setApplicationName(QStringLiteral("Anchor"));
    QMainWindow window;
    auto* central = new QWidget(&window);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 0, 4, 4);
    auto* toolbar = new QWidget(central);
    toolbar->setFixedHeight(26);
    for (int i = 0; i < 15; ++i)
        (new Filled(QSize(24, 22), Qt::lightGray, toolbar))->move(4 + 24 * (i % 4) * 2, 2);
    layout->addWidget(toolbar);
    layout->addWidget(
        new Filled(dotwell ? QSize(96 * 7, 63 * 7) : QSize(240 * 4, 103 * 4), Qt::white, central),
        1, Qt::AlignCenter);
    if (dotwell) {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("Comment:"), central));
        row->addWidget(new QLineEdit(QStringLiteral("made with DOTWELL"), central), 1);
        layout->addLayout(row);
        auto* frame = new QGroupBox(QStringLiteral("PIC"), central);
        auto* options = new QHBoxLayout(frame);
        for (int i = 1; i <= 10; ++i)
            options->addWidget(new QRadioButton(QString::number(i % 10), frame));
        layout->addWidget(frame);
    } else {
        auto* grid = new QGridLayout;
        grid->addWidget(new QLabel(QStringLiteral("Folder:"), central), 0, 0);
        grid->addWidget(new QLineEdit(QStringLiteral("main"), central), 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("Pic Var Name:"), central), 0, 2);
        grid->addWidget(new QLineEdit(QStringLiteral("pic1"), central), 0, 3);
        grid->addWidget(new QLabel(QStringLiteral("Comment:"), central), 1, 0);
        grid->addWidget(new QLineEdit(QStringLiteral("made with PIXVANE"), central), 1, 1, 1, 3);
        layout->addLayout(grid);
        layout->addWidget(new QLabel(central));
    }
    window.setCentralWidget(central);
    auto* status = new QStatusBar(&window);
    status->addWidget(new QLabel(QStringLiteral("Untitled"), status), 1);
    status->addPermanentWidget(new Filled(QSize(110, 18), Qt::lightGray, status));
    window.setStatusBar(status);
    addMenus(window);
    const bench::FirstPaint report(&window);
    window.show();
    return app.exec();
}
