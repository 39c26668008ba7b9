// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/print_backend.h"

#include <QPainter>
#include <QPrinter>
#include <QWidget>

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

void printPicture(QWidget* window, Prompts& prompts, const PixelGrid& grid,
                  const PageSettings& settings) {
    if (!printable(settings)) {
        prompts.message(window, window->windowTitle(),
                        QObject::tr("The picture cannot be printed where Page Setup puts it: "
                                    "the margins and the image width must each be at most %1 "
                                    "inches. Nothing was printed.")
                            .arg(kLargestPrintInches),
                        MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!prompts.askPrinter(window, printer))
        return;
    playPage(printer, printPage(grid, settings));
}

} // namespace core
