// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>

#include <QObject>
#include <QString>

#include "core/platform/prompts.h"

class QWidget;

namespace core {

// The exit command, and the window's close box, which runs it: while there is drawing unsaved,
// the program ends only when the user confirms the warning. Quitting closes every window again;
// those closes just close instead of asking a second time.
class ExitCommand : public QObject {
public:
    ExitCommand(QWidget* window, Prompts& prompts, std::function<bool()> unsaved,
                std::function<QString()> warning, std::function<void()> end);

    // True when the program was told to end.
    bool run();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    Prompts& m_prompts;
    std::function<bool()> m_unsaved;
    std::function<QString()> m_warning;
    std::function<void()> m_end;
    bool m_ending = false;
};

} // namespace core
