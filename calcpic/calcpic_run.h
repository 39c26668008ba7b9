// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <ostream>

#include "calcpic/command_line.h"

namespace calcpic {

// Carries out a checked info or convert request: reports to `out`, one line per failing
// input to `err`, a progress line on `err` when it is a terminal. Returns the exit status.
int runRequest(const Request& request, std::ostream& out, std::ostream& err, bool errIsTerminal);

} // namespace calcpic
