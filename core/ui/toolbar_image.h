// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QPixmap>
#include <QWidget>

namespace core {

// One picture of a toolbar button's stack (raised, pressed or greyed cover), or the clear
// area that takes the mouse. The owner wires the press, move and release handlers of the
// images that have them. A plain widget that paints its picture: a toolbar holds fifteen.
class ToolbarImage : public QWidget {
    Q_OBJECT
public:
    explicit ToolbarImage(QWidget* parent = nullptr);

    void setPixmap(const QPixmap& pixmap);
    const QPixmap& pixmap() const { return m_pixmap; }

signals:
    // x, y in twips relative to the image, as the button logic measures them.
    void mouseDown(int button, double x, double y);
    void mouseMove(int buttons, double x, double y);
    void mouseUp(int button, double x, double y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_pixmap;
};

enum class ButtonPicture { Open, Save, Print, Help };
enum class ButtonLook { Raised, Pressed, Greyed };

// The 24 x 22, 16-colour pictures of the toolbar, drawn here rather than shipped.
QPixmap toolbarPicture(ButtonPicture picture, ButtonLook look);

// Twips per screen pixel: 15 at 96 dpi, fewer on a denser screen.
double twipsPerPixel(const QWidget* widget);

} // namespace core
