// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace bench {

// Prints the steady clock, in microseconds, once the window's first frame is painted, and
// ends the program: the start-up benchmark times each program from exec to that moment.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window) : m_window(window) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_painted && event->type() == QEvent::Paint && watched == m_window) {
            m_painted = true;
            // The rest of the frame (the children) is painted before the loop turns again.
            QTimer::singleShot(0, [] {
                using namespace std::chrono;
                std::printf(
                    "%.1f\n",
                    duration<double, std::micro>(steady_clock::now().time_since_epoch()).count());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    QWidget* m_window;
    bool m_painted = false;
};

} // namespace bench
