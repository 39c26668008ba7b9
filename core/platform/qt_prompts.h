// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QSize>
#include <QStringList>

#include "core/platform/prompts.h"

namespace core {

// The real dialogs.
class QtPrompts : public Prompts {
public:
    FileDialogAnswer askFileName(QWidget* parent, const FileDialogRequest& request) override;
    Answer message(QWidget* parent, const QString& title, const QString& text, MessageIcon icon,
                   MessageButtons buttons) override;
    bool askPrinter(QWidget* parent, QPrinter& printer) override;
    bool confirmExit(QWidget* parent, const QString& title, const QString& text) override;
    void showInformation(QDialog* window) override;
    bool runDialog(QDialog* dialog) override;
    QColor chooseColour(QWidget* parent, const QString& title, const QColor& initial) override;
};

// Places a window in the middle of its screen (not of the window it belongs to).
void centreOnScreen(QWidget* window);
// The largest size a window may take for its frame to fit the screen's free area (without the
// panels). The window manager's frame is known only once a window is shown; until then a
// title bar and borders are allowed for.
QSize largestClientSize(const QWidget* window);

// "Desc|*.a;*.b|..." as Qt name filters; each pattern in both letter cases, since the
// calculator files come with either.
QStringList qtNameFilters(const QString& filter);

} // namespace core
