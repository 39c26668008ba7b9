// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/frame_pacer.h"

namespace core {

FramePacer::FramePacer(std::function<void()> repaint, QObject* parent)
    : QObject(parent), m_repaint(std::move(repaint)) {
    m_later.setSingleShot(true);
    connect(&m_later, &QTimer::timeout, this, [this] { m_repaint(); });
}

void FramePacer::request() {
    const qint64 since = m_sincePaint.isValid() ? m_sincePaint.elapsed() : kFrameMilliseconds;
    if (since >= kFrameMilliseconds) {
        m_repaint();
    } else if (!m_later.isActive()) {
        m_later.start(int(kFrameMilliseconds - since));
    }
}

} // namespace core
