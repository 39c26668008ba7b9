// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/toolbar_image.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "core/ui/mouse_codes.h"

namespace core {

ToolbarImage::ToolbarImage(QWidget* parent) : QWidget(parent) {
    setFixedSize(24, 22);
}

void ToolbarImage::setPixmap(const QPixmap& pixmap) {
    m_pixmap = pixmap;
    // A picture that covers the image hides what lies under it: Qt then paints only the top
    // of each stack.
    setAttribute(Qt::WA_OpaquePaintEvent,
                 !pixmap.isNull() && pixmap.size() == size() && !pixmap.hasAlphaChannel());
    update();
}

void ToolbarImage::paintEvent(QPaintEvent*) {
    if (!m_pixmap.isNull())
        QPainter(this).drawPixmap(0, 0, m_pixmap);
}

double twipsPerPixel(const QWidget* widget) {
    const QScreen* screen = widget ? widget->screen() : nullptr;
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

void ToolbarImage::mousePressEvent(QMouseEvent* event) {
    const QPointF p = event->position() * twipsPerPixel(this);
    emit mouseDown(mouseButtonCode(event->button()), p.x(), p.y());
}

void ToolbarImage::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position() * twipsPerPixel(this);
    emit mouseMove(mouseButtonCode(event->buttons()), p.x(), p.y());
}

void ToolbarImage::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = event->position() * twipsPerPixel(this);
    emit mouseUp(mouseButtonCode(event->button()), p.x(), p.y());
}

namespace {

// The standard 16-colour palette the pictures keep to.
const QColor kBlack16(0, 0, 0), kGrey(128, 128, 128), kSilver(192, 192, 192), kWhite(255, 255, 255),
    kNavy(0, 0, 128), kOlive(128, 128, 0), kYellow(255, 255, 0), kTeal(0, 128, 128),
    kBlue(0, 0, 255);

void drawSymbol(QPainter& p, ButtonPicture picture, bool greyed) {
    const QColor ink = greyed ? kGrey : kBlack16;
    auto colour = [&](const QColor& c) { return greyed ? kSilver : c; };
    p.setPen(ink);
    switch (picture) {
    case ButtonPicture::Open:
        p.setBrush(colour(kYellow));
        p.drawPolygon(QPolygon({QPoint(4, 7), QPoint(9, 7), QPoint(10, 8), QPoint(17, 8),
                                QPoint(17, 16), QPoint(4, 16)}));
        p.setBrush(colour(kOlive));
        p.drawPolygon(QPolygon({QPoint(6, 11), QPoint(20, 11), QPoint(17, 16), QPoint(4, 16)}));
        break;
    case ButtonPicture::Save:
        p.setBrush(colour(kNavy));
        p.drawRect(5, 4, 13, 13);
        p.setBrush(colour(kWhite));
        p.drawRect(7, 4, 9, 6);
        p.setBrush(colour(kSilver));
        p.drawRect(8, 13, 7, 4);
        break;
    case ButtonPicture::Print:
        p.setBrush(colour(kWhite));
        p.drawRect(7, 3, 9, 6);
        p.setBrush(colour(kSilver));
        p.drawRect(4, 9, 15, 6);
        p.setBrush(colour(kWhite));
        p.drawRect(7, 13, 9, 5);
        p.setPen(colour(kTeal));
        p.drawPoint(16, 11);
        break;
    case ButtonPicture::Help:
        // A bold "?" drawn as shapes: a font would be loaded for this one character.
        p.setPen(Qt::NoPen);
        p.setBrush(colour(kBlue));
        p.drawRect(8, 4, 7, 2);   // the top of the hook
        p.drawRect(7, 5, 3, 2);   // its left end
        p.drawRect(13, 5, 3, 4);  // its right side
        p.drawRect(11, 8, 3, 2);  // the turn inwards
        p.drawRect(10, 10, 3, 3); // the stem
        p.drawRect(10, 14, 3, 3); // the dot
        break;
    }
}

} // namespace

namespace {

// One button picture, drawn at the painter's origin.
void drawPicture(QPainter& p, ButtonPicture picture, ButtonLook look) {
    const bool pressed = look == ButtonLook::Pressed;
    // Bevel: light top-left and dark bottom-right when raised, the other way when pressed.
    p.setPen(pressed ? kBlack16 : kWhite);
    p.drawLine(0, 0, 22, 0);
    p.drawLine(0, 0, 0, 20);
    p.setPen(pressed ? kWhite : kBlack16);
    p.drawLine(0, 21, 23, 21);
    p.drawLine(23, 0, 23, 21);
    p.setPen(kGrey);
    if (pressed) {
        p.drawLine(1, 1, 21, 1);
        p.drawLine(1, 1, 1, 19);
        p.translate(1, 1);
    } else {
        p.drawLine(1, 20, 22, 20);
        p.drawLine(22, 1, 22, 20);
    }
    drawSymbol(p, picture, look == ButtonLook::Greyed);
}

constexpr QSize kPictureSize(24, 22);

// Every picture of every button on one sheet, drawn once with one painter: a toolbar's
// eleven pictures cost one painter rather than eleven at start-up.
const QImage& pictureSheet() {
    static const QImage sheet = [] {
        QImage image(kPictureSize.width() * 3, kPictureSize.height() * 4, QImage::Format_RGB32);
        image.fill(kSilver);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        for (int picture = 0; picture < 4; ++picture) {
            for (int look = 0; look < 3; ++look) {
                p.save();
                p.translate(look * kPictureSize.width(), picture * kPictureSize.height());
                p.setClipRect(QRect(QPoint(0, 0), kPictureSize));
                drawPicture(p, ButtonPicture(picture), ButtonLook(look));
                p.restore();
            }
        }
        return image;
    }();
    return sheet;
}

} // namespace

QPixmap toolbarPicture(ButtonPicture picture, ButtonLook look) {
    const QPoint at(int(look) * kPictureSize.width(), int(picture) * kPictureSize.height());
    return QPixmap::fromImage(pictureSheet().copy(QRect(at, kPictureSize)));
}

} // namespace core
