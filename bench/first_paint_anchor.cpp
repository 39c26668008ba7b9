// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// The start-up anchor: a bare window of pixvane's size with one label and one line edit.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "bench/first_paint.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Anchor"));
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Comment:"), &window));
    layout->addWidget(new QLineEdit(QStringLiteral("made with PIXVANE"), &window));
    window.resize(968, 565);
    const bench::FirstPaint report(&window);
    window.show();
    return app.exec();
}
