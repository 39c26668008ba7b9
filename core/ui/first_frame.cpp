// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/first_frame.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace core {

namespace {

class FirstFrameWatch : public QObject {
public:
    FirstFrameWatch(QWidget* window, std::function<void()> work)
        : QObject(window), m_work(std::move(work)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // After the paint itself: the filter sees the event before the window does.
            QTimer::singleShot(0, watched, std::move(m_work));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_work;
};

} // namespace

void afterFirstFrame(QWidget* window, std::function<void()> work) {
    new FirstFrameWatch(window, std::move(work));
}

} // namespace core
