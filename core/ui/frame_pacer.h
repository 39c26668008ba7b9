// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace core {

// Lets a widget repaint at most once a frame: for a read-out of numbers, which no one reads
// faster than that, so that it costs no paint of its own between frames. A request within a
// frame of the last paint runs when that frame is over, so the screen still ends with the last
// text. Not for what the pointer draws: the canvas paints each event at once.
class FramePacer : public QObject {
public:
    // `repaint` asks the widget for its repaint (QWidget::update of what changed).
    explicit FramePacer(std::function<void()> repaint, QObject* parent = nullptr);

    void request();
    // The widget calls this from its paintEvent.
    void painted() { m_sincePaint.start(); }

    static constexpr int kFrameMilliseconds = 16;

private:
    std::function<void()> m_repaint;
    QElapsedTimer m_sincePaint;
    QTimer m_later;
};

} // namespace core
