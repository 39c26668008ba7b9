#pragma once

#include <Qt>

namespace core {

// Mouse buttons as the handlers receive them: 1 left, 2 right, 4 middle, summed when several
// are held.
inline int mouseButtonCode(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

// Shift 1, Ctrl 2, Alt 4.
inline int shiftCode(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

} // namespace core
