// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/status_panels.h"

#include <QApplication>

#include <QLabel>
#include <QPainter>

#include "core/imaging/file_io.h"
#include "core/model/number_text.h"

namespace core {

CellReadout::CellReadout(QWidget* parent) : QWidget(parent), m_pacer([this] { update(); }, this) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Room for the widest read-out a drag far off the canvas can give.
    const QFontMetrics metrics(font());
    setFixedSize(std::max(110, metrics.horizontalAdvance(QStringLiteral("(-1000000, -1000000)"))),
                 metrics.height() + 2);
}

void CellReadout::setText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    m_pacer.request();
}

void CellReadout::paintEvent(QPaintEvent*) {
    m_pacer.painted();
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().windowText().color());
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, m_text);
}

StatusPanels::StatusPanels(QWidget* parent)
    : QStatusBar(parent), m_file(new QLabel(this)), m_cell(new CellReadout(this)) {
    addWidget(m_file, 1);
    addWidget(m_cell, 0);
}

QString StatusPanels::fileText() const {
    return m_file->text();
}

void StatusPanels::setFileText(const QString& text) {
    m_file->setText(displayFileName(text));
}

void StatusPanels::showCell(int column, int row) {
    // A move inside the same cell changes nothing: no text is made for it.
    if (!m_cell->text().isEmpty() && column == m_column && row == m_row)
        return;
    m_column = column;
    m_row = row;
    m_cell->setText(QStringLiteral("(%1, %2)")
                        .arg(QString::fromStdString(signedNumber(column)),
                             QString::fromStdString(signedNumber(row))));
}

PointerAwayWatch::PointerAwayWatch(QWidget* window, QWidget* canvas, std::function<void()> away)
    : QObject(window), m_window(window), m_canvas(canvas), m_away(std::move(away)) {
    qApp->installEventFilter(this);
}

bool PointerAwayWatch::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Enter || type == QEvent::MouseMove) && watched->isWidgetType() &&
        watched != m_canvas && static_cast<QWidget*>(watched)->window() == m_window)
        m_away();
    return QObject::eventFilter(watched, event);
}

} // namespace core
