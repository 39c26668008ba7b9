// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// pixvane started exactly as its main() starts it, telling the drag-latency benchmark where
// its canvas is.
#include <memory>

#include "bench/drag_target.h"
#include "core/ui/picture_canvas.h"
#include "core/ui/program_main.h"
#include "pixvane/frm_pixvane.h"

int main(int argc, char* argv[]) {
    std::unique_ptr<bench::DragTarget> target;
    return core::runProgram(
        argc, argv,
        {"Pixvane",
         [](core::Prompts& prompts) { return std::make_unique<pixvane::FrmPixvane>(prompts); }},
        [&target](QWidget* window) {
            core::PictureCanvas* canvas = static_cast<pixvane::FrmPixvane*>(window)->Picture1;
            target = std::make_unique<bench::DragTarget>(window, canvas, [canvas] {
                const QSize one = canvas->sizeForZoom(1);
                return bench::CanvasCells{canvas->zoom(), one.width(), one.height()};
            });
        });
}
