#pragma once

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "tests/support/scripted_prompts.h"

namespace testing_support {

// A started main window answering from a script, with a folder for its files.
template <class Window> class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        window.endProgram = [this] { ended = true; };
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
    Asked lastMessage() const {
        const auto all = prompts.messages();
        return all.empty() ? Asked{} : all.back();
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    Window window{prompts};
    bool ended = false;
};

} // namespace testing_support
