// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/toolbar.h"

#include "core/model/document_state.h"
#include "core/model/mouse_buttons.h"

namespace core {
namespace {

// Inside the button's 360 x 330 twips.
bool inside(double x, double y) {
    return x >= 0 && x <= 360 && y >= 0 && y <= 330;
}

} // namespace

Toolbar::Toolbar(QWidget* parent) : QWidget(parent) {
    setFixedHeight(26);
    setMouseTracking(true);
    for (int i = 1; i <= 11; ++i) {
        Image[i] = new ToolbarImage(this);
        Image[i]->setObjectName(QStringLiteral("Image%1").arg(i));
    }
    const double twips = twipsPerPixel(this);
    struct Stack {
        int left; // twips
        int cover, raised, pressed;
        ButtonPicture picture;
        const char* tip;
    };
    const Stack stacks[] = {
        {60, 11, 1, 2, ButtonPicture::Open, "Open"},
        {420, 5, 3, 4, ButtonPicture::Save, "Save"},
        {780, 8, 7, 6, ButtonPicture::Print, "Print"},
        {1200, 0, 10, 9, ButtonPicture::Help, "Help"},
    };
    for (const Stack& s : stacks) {
        const QPoint at(int(s.left / twips), int(60 / twips));
        auto* area = new ToolbarImage(this);
        area->setObjectName(QStringLiteral("%1Button").arg(QLatin1String(s.tip)));
        m_areas[size_t(s.raised)] = area;
        for (ToolbarImage* image : {Image[s.pressed], Image[s.raised], area, Image[s.cover]}) {
            if (image == Image[0])
                continue; // Help has no cover
            image->move(at);
            image->setToolTip(tr(s.tip));
            image->raise(); // later in the stack lies on top
        }
        Image[s.pressed]->setPixmap(toolbarPicture(s.picture, ButtonLook::Pressed));
        Image[s.raised]->setPixmap(toolbarPicture(s.picture, ButtonLook::Raised));
        if (s.cover != 0)
            Image[s.cover]->setPixmap(toolbarPicture(s.picture, ButtonLook::Greyed));
    }
}

void Toolbar::setCommand(int raised, std::function<void()> command) {
    // Down hides the raised picture so the pressed one shows; moving off shows it again;
    // up shows it and runs the command when the pointer is still on the button.
    ToolbarImage* image = Image[raised];
    ToolbarImage* area = m_areas[size_t(raised)];
    connect(area, &ToolbarImage::mouseDown, this, [image](int, double, double) { image->hide(); });
    connect(area, &ToolbarImage::mouseMove, this, [image](int buttons, double x, double y) {
        if (buttons & kLeftButton)
            image->setHidden(inside(x, y));
    });
    connect(area, &ToolbarImage::mouseUp, this, [image, command](int, double x, double y) {
        image->show();
        if (inside(x, y))
            command();
    });
}

void Toolbar::showCovers(const DocumentState& state) {
    Image[11]->setVisible(state.image11);
    Image[5]->setVisible(state.image5);
    Image[8]->setVisible(state.image8);
}

} // namespace core
