// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>

#include <QImage>
#include <QObject>

#include "core/model/cell_kind.h"
#include "core/model/pixel_grid.h"

class QEvent;
class QMimeData;
class QWidget;

namespace core {

// The image Copy puts on the clipboard.
QImage clipboardImage(const PixelGrid& picture, CellKind kind);

// Copy and Paste, and whether the clipboard holds a picture to paste. The clipboard is asked
// only when it changes and only from the first frame on: under X each question is a round
// trip to its owner, and reading the picture itself would decode it.
class ClipboardCommands : public QObject {
    Q_OBJECT
public:
    // `changed` runs whenever what the clipboard holds may have changed.
    ClipboardCommands(QWidget* window, std::function<void()> changed);

    // Starts watching; what the clipboard held before counts.
    void watch();
    bool hasImage() const { return m_hasImage; }
    // One pixel per calculator pixel, black on white; a colour picture in its colours, a
    // palette's none transparent.
    void copy(const PixelGrid& picture, CellKind kind = CellKind::Monochrome);
    // What the clipboard offers, for Paste to read the picture from.
    const QMimeData* contents();

protected:
    // A text box takes Ctrl+V for itself; with a picture and no text on the clipboard it has
    // nothing to paste, so the key goes to Paste, wherever the focus is in the window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clipboardChanged();

    QWidget* m_window;
    std::function<void()> m_changed;
    bool m_hasImage = false;
    bool m_watched = false;
};

} // namespace core
