// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/file_drop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace core {

FileDropWatch::FileDropWatch(QWidget* target, std::function<void(const QString&)> dropped)
    : QObject(target), m_dropped(std::move(dropped)) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

QString FileDropWatch::firstLocalFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

bool FileDropWatch::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (firstLocalFile(drag->mimeData()).isEmpty())
            drag->ignore(); // the pointer shows that nothing can be dropped here
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = firstLocalFile(drop->mimeData());
        if (path.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        m_dropped(path);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace core
