// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

// Prints the one summary table of every benchmark's rows; exits 1 when a goal was missed.
#include "bench/harness.h"

int main(int argc, char** argv) {
    return argc > 1 && bench::printTable(argv[1]) ? 0 : 1;
}
