// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/program_main.h"
#include "pixvane/frm_pixvane.h"

int main(int argc, char* argv[]) {
    return core::runProgram(
        argc, argv,
        {"Pixvane",
         [](core::Prompts& prompts) { return std::make_unique<pixvane::FrmPixvane>(prompts); },
         "draws and edits the pictures of TI-92, TI-92 Plus and Voyage 200 calculators\n"
         "(.92i, .9xi and .v2i files)",
         "io.github.dotwell.Pixvane"});
}
