#pragma once

#include <functional>
#include <memory>

#include "core/platform/prompts.h"

class QWidget;

namespace core {

class EditorWindow;

// What differs between the two programs' main(): the name and the main window.
struct ProgramDescription {
    const char* applicationName; // "Dotwell"
    std::function<std::unique_ptr<EditorWindow>(Prompts&)> makeWindow;
};

// The whole of a program's main(): the application, the real dialogs, the main window
// started with the command line (the whole text after the program name is one picture's
// name, blanks included), then the event loop. `started`, when given, sees the window just
// before it is shown (the start-up benchmark watches for its first paint).
int runProgram(int argc, char** argv, const ProgramDescription& program,
               const std::function<void(QWidget*)>& started = {});

} // namespace core
