// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>

#include <QObject>

class QWidget;

namespace core {

// The exit command, and the window's close box, which runs it: the program ends only when
// `mayEnd` allows it (it asks while there is drawing unsaved). Quitting closes every window
// again; those closes just close instead of asking a second time.
class ExitCommand : public QObject {
public:
    ExitCommand(QWidget* window, std::function<bool()> mayEnd, std::function<void()> end);

    // True when the program was told to end.
    bool run();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    std::function<bool()> m_mayEnd;
    std::function<void()> m_end;
    bool m_ending = false;
};

} // namespace core
