// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>

class QWidget;

namespace core {

// Runs `work` once, as soon as the event loop is free after `window`'s first frame is on the
// screen: for start-up work a user need not wait for (under X the clipboard costs round trips
// to the server, and a zero timer set at start-up still fires before the first paint).
void afterFirstFrame(QWidget* window, std::function<void()> work);

} // namespace core
