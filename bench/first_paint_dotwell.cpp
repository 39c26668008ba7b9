// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// dotwell started exactly as its main() starts it, reporting its first paint.
#include <memory>

#include "bench/first_paint.h"
#include "core/ui/program_main.h"
#include "dotwell/frm_dotwell.h"

int main(int argc, char* argv[]) {
    std::unique_ptr<bench::FirstPaint> report;
    return core::runProgram(
        argc, argv,
        {"Dotwell",
         [](core::Prompts& prompts) { return std::make_unique<dotwell::FrmDotwell>(prompts); }},
        [&report](QWidget* window) { report = std::make_unique<bench::FirstPaint>(window); });
}
