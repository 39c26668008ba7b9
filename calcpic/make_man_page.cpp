// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <fstream>
#include <iostream>

#include "calcpic/command_line.h"

// Writes calcpic.1 at build time from the same table as calcpic --help.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_man_page OUTPUT\n";
        return 2;
    }
    std::ofstream out(argv[1]);
    out << calcpic::manPage(CALCPIC_VERSION, CALCPIC_DATE);
    return out.good() ? 0 : 1;
}
