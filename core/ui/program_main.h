// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QString>

#include "core/formats/format_registry.h"
#include "core/platform/prompts.h"

class QWidget;

namespace core {

class EditorWindow;

// What differs between the two programs' main(): the name, the main window and, for
// --help, what the program is for.
struct ProgramDescription {
    const char* applicationName; // "Dotwell"
    std::function<std::unique_ptr<EditorWindow>(Prompts&)> makeWindow;
    Program program = Program::Dotwell; // whose formats it opens, for --help
    // The installed desktop entry's name without .desktop, which is also the AppStream id: on
    // Wayland the window's app id, so the desktop shows the entry's name and icon for it.
    const char* desktopId = ""; // "io.github.dotwell.Dotwell"
};

// The whole of a program's main(). A command line of just --help or --version is answered on
// standard output before any window or display is needed; where no display can be opened the
// program says so in one line and exits with status 1. Otherwise: the application, the real
// dialogs, the main window started with the command line (the whole text after the program name is
// one picture's name, blanks included), then the event loop. `started`, when given, sees the window
// just before it is shown (the start-up benchmark watches for its first paint).
int runProgram(int argc, char** argv, const ProgramDescription& program,
               const std::function<void(QWidget*)>& started = {});

// The picture the command line names: its arguments, as the bytes given, joined by blanks. A
// name that is not UTF-8 keeps its bytes (see decodeFileName), so it opens its own file.
QString commandLineName(const std::vector<std::string>& arguments);

} // namespace core
