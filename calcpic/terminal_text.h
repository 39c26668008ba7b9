// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <string>
#include <string_view>

namespace calcpic {

// Text from a file or a command line made safe to print on a terminal: well-formed UTF-8
// stays, but a control character (C0, DEL, C1: what can clear the screen or set the window's
// title) and a byte that is not UTF-8 are written as \xNN, as a signature is. Line breaks
// too: every printed finding is one line.
std::string shownText(std::string_view bytes);

// A message on one line: each run of line breaks becomes ". ", or a blank after a sentence
// that has its own stop, so that "Permission denied\n\nThe file on disk is unchanged." reads
// "Permission denied. The file on disk is unchanged."
std::string oneLine(std::string_view message);

} // namespace calcpic
