// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/program_main.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStringList>

#include "core/formats/format_texts.h"
#include "core/imaging/file_io.h"
#include "core/platform/qt_prompts.h"
#include "core/ui/editor_window.h"

namespace core {
namespace {

// The platform's style, but with the menu bar's overflow arrow drawn here. Qt's own comes
// from an image file, and reading that first image loads every image-format plugin, a
// millisecond or more before the window can first be painted.
class EditorStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (icon != SP_ToolBarHorizontalExtensionButton)
            return QProxyStyle::standardIcon(icon, option, widget);
        QPixmap chevron(16, 16);
        chevron.fill(Qt::transparent);
        QPainter p(&chevron);
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        for (int x : {4, 9}) // two arrow heads, ">>"
            p.drawPolyline(QPolygonF({QPointF(x, 4), QPointF(x + 4, 8), QPointF(x, 12)}));
        return QIcon(chevron);
    }
};

std::string commandName(const char* applicationName) {
    std::string name = applicationName;
    for (char& c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

const char* g_command = "";
QtMessageHandler g_qtHandler = nullptr;

// While the application starts: Qt ends a program that finds no display with a fatal message
// and an abort. Say instead, in one line, what is wrong and what to do.
void startupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        const QByteArray display = qgetenv("DISPLAY");
        const std::string why = display.isEmpty()
                                    ? "DISPLAY is not set"
                                    : "cannot connect to the X display " + display.toStdString();
        std::fprintf(stderr,
                     "%s: no display (%s): start it on a desktop, or under a virtual display "
                     "with xvfb-run -a %s (package xvfb)\n",
                     g_command, why.c_str(), g_command);
        std::_Exit(1);
    }
    // Qt's own lines about the failed connection come just before; they would only repeat it.
    if (context.category && std::strncmp(context.category, "qt.qpa", 6) == 0)
        return;
    if (g_qtHandler)
        g_qtHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

QString commandLineName(const std::vector<std::string>& arguments) {
    std::string joined;
    for (size_t i = 0; i < arguments.size(); ++i)
        joined += (i ? " " : "") + arguments[i];
    return decodeFileName(QByteArray::fromStdString(joined));
}

int runProgram(int argc, char** argv, const ProgramDescription& program,
               const std::function<void(QWidget*)>& started) {
    const std::string command = commandName(program.applicationName);
    // Only the whole command line "--help" or "--version": any other text names a picture.
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        const std::string purpose =
            "draws and edits the pictures of " + joinedList(models(program.program)) +
            " calculators\n(" +
            joinedList(extensions(
                [&](const FormatDescriptor& f) { return editorOpens(f, program.program); }, true)) +
            " files)";
        std::printf("usage: %s [FILE]\n       %s --help | --version\n\n%s %s.\nThe whole "
                    "command line is the name of the picture to open, blanks included.\nSee "
                    "%s(1).\n",
                    command.c_str(), command.c_str(), program.applicationName, purpose.c_str(),
                    command.c_str());
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s %s\n", command.c_str(), PROGRAM_VERSION);
        return 0;
    }
    g_command = command.c_str();
    g_qtHandler = qInstallMessageHandler(startupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(g_qtHandler);
    QApplication::setApplicationName(QString::fromLatin1(program.applicationName));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(program.desktopId));
    QApplication::setStyle(new EditorStyle(QApplication::style()->name()));
    QtPrompts prompts;
    const std::unique_ptr<EditorWindow> window = program.makeWindow(prompts);
    if (started)
        started(window.get());
    window->Form_Load(commandLineName({argv + 1, argv + argc}));
    window->show();
    return app.exec();
}

} // namespace core
