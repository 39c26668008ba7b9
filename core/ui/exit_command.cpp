// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/exit_command.h"

#include <QCloseEvent>
#include <QScopedValueRollback>
#include <QWidget>

namespace core {

ExitCommand::ExitCommand(QWidget* window, std::function<bool()> mayEnd, std::function<void()> end)
    : QObject(window), m_window(window), m_mayEnd(std::move(mayEnd)), m_end(std::move(end)) {
    window->installEventFilter(this);
}

bool ExitCommand::run() {
    if (!m_mayEnd())
        return false;
    const QScopedValueRollback ending(m_ending, true);
    m_end();
    return true;
}

bool ExitCommand::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window || event->type() != QEvent::Close)
        return false;
    // The window closes only when the program ends.
    event->setAccepted(m_ending || run());
    return true;
}

} // namespace core
