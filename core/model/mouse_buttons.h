// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

namespace core {

// Mouse buttons as the canvas and toolbar handlers receive them; summed when several are held.
enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

} // namespace core
