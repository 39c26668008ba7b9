// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>

#include <QObject>
#include <QString>

class QMimeData;
class QWidget;

namespace core {

// A file dropped on the canvas: the drag is accepted only while it carries a local file, and
// the first such file is handed on as a path. What opening it means is the program's.
class FileDropWatch : public QObject {
public:
    FileDropWatch(QWidget* target, std::function<void(const QString& path)> dropped);

    // The first local file the data names, or an empty text.
    static QString firstLocalFile(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> m_dropped;
};

} // namespace core
