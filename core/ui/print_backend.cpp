#include "core/ui/print_backend.h"

#include <QPainter>
#include <QPrinter>

namespace core {

bool playPage(QPrinter& printer, const std::vector<PrintRect>& page) {
    printer.setResolution(kPrintDotsPerInch);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setRenderHint(QPainter::Antialiasing, false);
    const double scale = printer.resolution() / kTwipsPerInch;
    painter.scale(scale, scale);
    for (const PrintRect& r : page) {
        const QRectF rect(QPointF(r.x1, r.y1), QPointF(r.x2, r.y2));
        if (r.filled) {
            painter.fillRect(rect.normalized(), Qt::black);
        } else {
            QPen pen(Qt::black, r.penWidth);
            pen.setCosmetic(true); // the width is in device pixels
            pen.setJoinStyle(Qt::MiterJoin);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect.normalized());
        }
    }
    return painter.end();
}

} // namespace core
