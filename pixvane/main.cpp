// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/program_main.h"
#include "pixvane/frm_pixvane.h"

int main(int argc, char* argv[]) {
    return core::runProgram(
        argc, argv,
        {"Pixvane",
         [](core::Prompts& prompts) { return std::make_unique<pixvane::FrmPixvane>(prompts); },
         core::Program::Pixvane, "io.github.dotwell.Pixvane"});
}
