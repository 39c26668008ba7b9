#include "core/ui/toolbar_image.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "core/ui/mouse_codes.h"

namespace core {

ToolbarImage::ToolbarImage(QWidget* parent) : QLabel(parent) {
    setFixedSize(24, 22);
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
    case ButtonPicture::Help: {
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(15);
        p.setFont(font);
        p.setPen(colour(kBlue));
        p.drawText(QRect(3, 2, 18, 17), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
}

} // namespace

QPixmap toolbarPicture(ButtonPicture picture, ButtonLook look) {
    QImage image(24, 22, QImage::Format_RGB32);
    image.fill(kSilver);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
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
    } else {
        p.drawLine(1, 20, 22, 20);
        p.drawLine(22, 1, 22, 20);
    }
    if (pressed)
        p.translate(1, 1);
    drawSymbol(p, picture, look == ButtonLook::Greyed);
    p.end();
    return QPixmap::fromImage(image);
}

} // namespace core
