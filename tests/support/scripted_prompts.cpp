// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "tests/support/scripted_prompts.h"

#include <QDialog>
#include <QPrinter>

namespace testing_support {

core::FileDialogAnswer ScriptedPrompts::askFileName(QWidget*,
                                                    const core::FileDialogRequest& request) {
    Asked asked{Asked::Kind::File,        request.title, {}, core::MessageIcon::None,
                core::MessageButtons::Ok, request};
    m_asked.push_back(asked);
    if (m_files.empty())
        return {};
    core::FileDialogAnswer answer = m_files.front();
    m_files.pop_front();
    return answer;
}

core::Answer ScriptedPrompts::message(QWidget*, const QString& title, const QString& text,
                                      core::MessageIcon icon, core::MessageButtons buttons) {
    m_asked.push_back({Asked::Kind::Message, title, text, icon, buttons, {}});
    if (!m_messages.empty()) {
        const core::Answer answer = m_messages.front();
        m_messages.pop_front();
        return answer;
    }
    return buttons == core::MessageButtons::YesNo || buttons == core::MessageButtons::YesNoCancel
               ? core::Answer::Yes
               : core::Answer::Ok;
}

bool ScriptedPrompts::askPrinter(QWidget*, QPrinter& printer) {
    m_asked.push_back(
        {Asked::Kind::Printer, {}, {}, core::MessageIcon::None, core::MessageButtons::Ok, {}});
    if (m_printers.empty())
        return false;
    const PrinterAnswer answer = m_printers.front();
    m_printers.pop_front();
    if (answer.accept && !answer.pdfPath.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(answer.pdfPath);
    }
    return answer.accept;
}

bool ScriptedPrompts::confirmExit(QWidget*, const QString& title, const QString& text) {
    m_asked.push_back({Asked::Kind::Exit,
                       title,
                       text,
                       core::MessageIcon::None,
                       core::MessageButtons::OkCancel,
                       {}});
    if (m_exits.empty())
        return false;
    const bool quit = m_exits.front();
    m_exits.pop_front();
    return quit;
}

void ScriptedPrompts::showInformation(QDialog* window) {
    m_asked.push_back({Asked::Kind::Information,
                       window->windowTitle(),
                       {},
                       core::MessageIcon::None,
                       core::MessageButtons::Ok,
                       {}});
}

bool ScriptedPrompts::runDialog(QDialog* dialog) {
    m_asked.push_back({Asked::Kind::Dialog,
                       dialog->windowTitle(),
                       {},
                       core::MessageIcon::None,
                       core::MessageButtons::OkCancel,
                       {}});
    if (m_dialogs.empty())
        return true;
    const auto answer = std::move(m_dialogs.front());
    m_dialogs.pop_front();
    return answer(dialog);
}

std::vector<Asked> ScriptedPrompts::messages() const {
    std::vector<Asked> result;
    for (const Asked& a : m_asked) {
        if (a.kind == Asked::Kind::Message)
            result.push_back(a);
    }
    return result;
}

QColor ScriptedPrompts::chooseColour(QWidget*, const QString& title, const QColor& initial) {
    m_asked.push_back({Asked::Kind::Colour,
                       title,
                       initial.name(),
                       core::MessageIcon::None,
                       core::MessageButtons::OkCancel,
                       {}});
    if (m_colours.empty())
        return {};
    const QColor colour = m_colours.front();
    m_colours.pop_front();
    return colour;
}

} // namespace testing_support
