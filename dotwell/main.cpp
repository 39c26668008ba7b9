// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/program_main.h"
#include "dotwell/frm_dotwell.h"

int main(int argc, char* argv[]) {
    return core::runProgram(
        argc, argv,
        {"Dotwell",
         [](core::Prompts& prompts) { return std::make_unique<dotwell::FrmDotwell>(prompts); },
         core::Program::Dotwell, "io.github.dotwell.Dotwell"});
}
