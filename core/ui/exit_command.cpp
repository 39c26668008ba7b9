// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/exit_command.h"

#include <QCloseEvent>
#include <QScopedValueRollback>
#include <QWidget>

namespace core {

ExitCommand::ExitCommand(QWidget* window, Prompts& prompts, std::function<bool()> unsaved,
                         std::function<QString()> warning, std::function<void()> end)
    : QObject(window), m_window(window), m_prompts(prompts), m_unsaved(std::move(unsaved)),
      m_warning(std::move(warning)), m_end(std::move(end)) {
    window->installEventFilter(this);
}

bool ExitCommand::run() {
    if (m_unsaved() && !m_prompts.confirmExit(m_window, QStringLiteral("WARNING!"), m_warning()))
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
