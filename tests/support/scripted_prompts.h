// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <deque>
#include <functional>
#include <vector>

#include <QString>

#include "core/platform/prompts.h"

namespace testing_support {

// One question the program asked.
struct Asked {
    enum class Kind { File, Message, Printer, Exit, Information, Dialog, Colour } kind;
    QString title;
    QString text;
    core::MessageIcon icon = core::MessageIcon::None;
    core::MessageButtons buttons = core::MessageButtons::Ok;
    core::FileDialogRequest file;
};

// Answers from a script and records every question. An unscripted file dialog or printer
// dialog is cancelled; an unscripted message gets its first button.
class ScriptedPrompts : public core::Prompts {
public:
    void answerFile(QString path, int filterIndex = 1) {
        m_files.push_back({true, std::move(path), filterIndex});
    }
    void cancelFile() { m_files.push_back({}); }
    void answerMessage(core::Answer answer) { m_messages.push_back(answer); }
    void answerPrinter(bool accept, QString pdfPath = {}) {
        m_printers.push_back({accept, std::move(pdfPath)});
    }
    void answerExit(bool quit) { m_exits.push_back(quit); }
    // Sets up a dialog's controls as a user would and says whether OK is chosen.
    void answerDialog(std::function<bool(QDialog*)> answer) {
        m_dialogs.push_back(std::move(answer));
    }

    // The colour the colour dialog gives; an invalid one is Cancel.
    void answerColour(QColor colour) { m_colours.push_back(colour); }

    core::FileDialogAnswer askFileName(QWidget*, const core::FileDialogRequest& request) override;
    core::Answer message(QWidget*, const QString& title, const QString& text,
                         core::MessageIcon icon, core::MessageButtons buttons) override;
    bool askPrinter(QWidget*, QPrinter& printer) override;
    bool confirmExit(QWidget*, const QString& title, const QString& text) override;
    // Records the window by its title and returns at once, leaving it hidden.
    void showInformation(QDialog* window) override;
    // Runs the scripted answer, or chooses OK when there is none.
    bool runDialog(QDialog* dialog) override;
    // The scripted colour, or Cancel when there is none.
    QColor chooseColour(QWidget*, const QString& title, const QColor& initial) override;

    const std::vector<Asked>& asked() const { return m_asked; }
    std::vector<Asked> messages() const;
    void clear() { m_asked.clear(); }

private:
    struct PrinterAnswer {
        bool accept;
        QString pdfPath;
    };
    std::deque<core::FileDialogAnswer> m_files;
    std::deque<core::Answer> m_messages;
    std::deque<PrinterAnswer> m_printers;
    std::deque<bool> m_exits;
    std::deque<std::function<bool(QDialog*)>> m_dialogs;
    std::deque<QColor> m_colours;
    std::vector<Asked> m_asked;
};

} // namespace testing_support
