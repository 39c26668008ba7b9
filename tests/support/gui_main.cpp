// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <QApplication>
#include <QDir>
#include <QTemporaryFile>

#include <gtest/gtest.h>

// GUI tests run on the offscreen platform unless told otherwise; the build lists the tests by
// running this binary too, where there may be no display at all. Its one screen is a small
// laptop's, 1024 x 600, so every window is tried where space is short.
int main(int argc, char** argv) {
    QTemporaryFile screens(QDir::tempPath() + "/screens-XXXXXX.json");
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if ((platform.isEmpty() || platform == "offscreen") && screens.open()) {
        screens.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1024,
                          "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
