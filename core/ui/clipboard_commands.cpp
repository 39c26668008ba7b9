// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/clipboard_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QWidget>

#include "core/imaging/picture_writer.h"

namespace core {

ClipboardCommands::ClipboardCommands(QWidget* window, std::function<void()> changed)
    : QObject(window), m_window(window), m_changed(std::move(changed)) {
    qApp->installEventFilter(this);
}

void ClipboardCommands::watch() {
    if (m_watched)
        return;
    m_watched = true;
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &ClipboardCommands::clipboardChanged);
    clipboardChanged();
}

void ClipboardCommands::clipboardChanged() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    m_hasImage = data && data->hasImage();
    m_changed();
}

void ClipboardCommands::copy(const PixelGrid& picture, CellKind kind) {
    watch();
    QGuiApplication::clipboard()->setImage(clipboardImage(picture, kind));
}

QImage clipboardImage(const PixelGrid& picture, CellKind kind) {
    // A palette picture keeps its alpha for none; the others are opaque, in the 32-bit
    // format every receiving program takes.
    QImage image = gridImage(picture, kind);
    return kind == CellKind::Palette ? image : image.convertToFormat(QImage::Format_RGB32);
}

const QMimeData* ClipboardCommands::contents() {
    watch();
    return QGuiApplication::clipboard()->mimeData();
}

bool ClipboardCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && m_hasImage && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == m_window &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (data && !data->hasText()) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace core
