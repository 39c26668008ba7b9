// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include <QCoreApplication>

#include "calcpic/calcpic_run.h"
#include "calcpic/command_line.h"
#include "calcpic/terminal_text.h"

namespace {

// Qt and the image libraries it drives report on stderr what they pass over ("libpng warning:
// iCCP: known incorrect sRGB profile" for many an ordinary PNG). calcpic says itself what
// went wrong with a file; their chatter is shown only with CALCPIC_DEBUG set.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtCriticalMsg && type != QtFatalMsg && qEnvironmentVariableIsEmpty("CALCPIC_DEBUG"))
        return;
    std::cerr << "calcpic: "
              << calcpic::shownText(
                     calcpic::oneLine(qFormatLogMessage(type, context, message).toStdString()))
              << "\n";
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto parsed = calcpic::parseCommandLine(arguments);
    if (const auto* usage = std::get_if<calcpic::UsageError>(&parsed)) {
        std::cerr << "calcpic: " << calcpic::shownText(usage->message) << "\n"
                  << calcpic::usageText() << "Try 'calcpic --help' for more.\n";
        return 2;
    }
    const calcpic::Request& request = std::get<calcpic::Request>(parsed);
    // Help and version need nothing else: they answer before Qt starts.
    if (request.command == calcpic::Request::Command::Help) {
        std::cout << calcpic::helpText();
        return 0;
    }
    if (request.command == calcpic::Request::Command::Version) {
        std::cout << calcpic::versionText(CALCPIC_VERSION);
        return 0;
    }
    qInstallMessageHandler(quietMessages);
    // A core application only, for Qt's image plugins: no display is ever needed.
    QCoreApplication application(argc, argv);
    return calcpic::runRequest(request, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
}
