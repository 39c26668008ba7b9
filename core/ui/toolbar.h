// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>
#include <functional>

#include <QWidget>

#include "core/ui/toolbar_image.h"

namespace core {

struct DocumentState;

// The row of four buttons, Open, Save, Print and Help, each a stack of pictures at one
// place: the pressed picture, the raised one above it and, over Open, Save and Print, the
// cover that greys the button while its command is unavailable. Between the raised picture
// and the cover lies a clear area that takes the mouse: it keeps the press when the raised
// picture hides to show the pressed one, so the release comes back to the button as it does
// to a real one.
class Toolbar : public QWidget {
public:
    explicit Toolbar(QWidget* parent);

    std::array<ToolbarImage*, 12> Image{}; // Image[1]..Image[11]
    // The part of a button that takes the mouse, by the index of its raised picture.
    ToolbarImage* buttonArea(int raised) const { return m_areas[size_t(raised)]; }
    // A click on the button whose raised picture is Image[raised] runs the command.
    void setCommand(int raised, std::function<void()> command);
    // The covers over the buttons whose commands this state leaves unavailable.
    void showCovers(const DocumentState& state);

private:
    std::array<ToolbarImage*, 12> m_areas{};
};

} // namespace core
