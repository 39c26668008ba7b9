// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/print_backend.h"

#include <QPainter>
#include <QPrinter>
#include <QWidget>

#include "core/imaging/picture_writer.h"

namespace core {

namespace {

// Starts the printer's page with the painter scaled to twips; false when it would not start.
bool beginPage(QPrinter& printer, QPainter& painter) {
    printer.setResolution(kPrintDotsPerInch);
    if (!painter.begin(&printer))
        return false;
    const double scale = printer.resolution() / kTwipsPerInch;
    painter.scale(scale, scale);
    return true;
}

} // namespace

bool playPage(QPrinter& printer, const std::vector<PrintRect>& page) {
    QPainter painter;
    if (!beginPage(printer, painter))
        return false;
    paintPage(painter, page);
    return painter.end();
}

void paintPicture(QPainter& painter, const PixelGrid& grid, const PageSettings& settings,
                  CellKind kind) {
    if (kind != CellKind::Monochrome) {
        const PrintRect area = pictureArea(grid, settings);
        // Each cell a sharp square: a smoothed image would blur the cells into each other.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRectF(QPointF(area.x1, area.y1), QPointF(area.x2, area.y2)),
                          gridImage(grid, kind));
    }
    paintPage(painter, printPage(grid, settings, kind));
}

void paintPage(QPainter& painter, const std::vector<PrintRect>& page) {
    painter.setRenderHint(QPainter::Antialiasing, false);
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
}

void printPicture(QWidget* window, Prompts& prompts, const PixelGrid& grid,
                  const PageSettings& settings, CellKind kind) {
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
    QPainter painter;
    if (beginPage(printer, painter)) {
        paintPicture(painter, grid, settings, kind);
        painter.end();
    }
}

} // namespace core
