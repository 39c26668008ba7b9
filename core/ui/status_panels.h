// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>

#include <QStatusBar>
#include <QString>

#include "core/ui/frame_pacer.h"

class QLabel;

namespace core {

// The pointer read-out: a fixed-size widget that paints its own text, so a new text costs a
// repaint of itself, at most once a frame, and never a new layout of the status bar.
class CellReadout : public QWidget {
    Q_OBJECT
public:
    explicit CellReadout(QWidget* parent);
    const QString& text() const { return m_text; }
    void setText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    FramePacer m_pacer;
};

// The status bar's two panels: the document's file name, and the cell under the pointer.
class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusPanels(QWidget* parent);

    QString fileText() const;
    void setFileText(const QString& text);
    QString cellText() const { return m_cell->text(); }
    // "(" column ", " row ")", each in the signed number form: "( 12,  30)", "(-1,  5)".
    void showCell(int column, int row);
    void clearCell() { m_cell->setText(QString()); }

private:
    QLabel* m_file;
    CellReadout* m_cell;
    int m_column = 0, m_row = 0; // what the read-out shows, while it shows a cell
};

// Runs `away` whenever the pointer is over a part of `window` other than `canvas` (menu bar,
// status bar, text boxes, labels, toolbar): the read-out is for the canvas only. Widgets
// without mouse tracking get no plain moves, but every one gets Enter.
class PointerAwayWatch : public QObject {
public:
    PointerAwayWatch(QWidget* window, QWidget* canvas, std::function<void()> away);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    QWidget* m_canvas;
    std::function<void()> m_away;
};

} // namespace core
