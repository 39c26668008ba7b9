// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace testing_support {

struct Ran {
    int code = -1; // -1 when the program crashed or did not end
    QString out;
    QString err;
};

// A built program run as on a machine with no display at all, whatever the tests use, with
// `extra` added to the environment.
inline Ran runWithoutDisplay(const QString& program, const QStringList& arguments,
                             const QString& directory = {}, const QProcessEnvironment& extra = {}) {
    QProcess process;
    if (!directory.isEmpty())
        process.setWorkingDirectory(directory);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    for (const QString& key : extra.keys())
        environment.insert(key, extra.value(key));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace testing_support
