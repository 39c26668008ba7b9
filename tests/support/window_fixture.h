// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/support/scripted_prompts.h"

namespace testing_support {

// A started main window answering from a script, with a folder for its files. `ended`
// counts how often the program would have ended.
template <class Window> struct TestWindow {
    TestWindow() {
        window.endProgram = [this] { ++ended; };
        window.Form_Load(QString());
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    void openFile(const QString& name) {
        prompts.answerFile(path(name));
        window.miOpen_click();
    }
    // A first press arms the pen, the second plots cell (5, 5).
    void draw() {
        window.Picture1_MouseDown(1, 0, 5.5, 5.5);
        window.Picture1_MouseDown(1, 0, 5.5, 5.5);
        window.Picture1_MouseUp(1, 0, 5.5, 5.5);
    }
    void import(const QString& file, core::Answer answer = core::Answer::Yes) {
        prompts.answerFile(file);
        prompts.answerMessage(answer);
        window.miImport_Click();
    }
    Asked lastMessage() const {
        const auto all = prompts.messages();
        return all.empty() ? Asked{} : all.back();
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    Window window{prompts};
    int ended = 0;
};

// The same as a GoogleTest fixture, for TEST_F.
template <class Window> class WindowFixture : public ::testing::Test, public TestWindow<Window> {};

} // namespace testing_support
