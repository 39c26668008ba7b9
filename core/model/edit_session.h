// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <functional>
#include <string>

#include "core/model/document.h"
#include "core/model/picture_edits.h"
#include "core/model/tool_controller.h"

namespace core {

// How the editor's presses, drags and commands become steps of the history: a press opens a
// change that its release closes, or a command that takes the picture over (Undo, ClrDraw, a
// conversion) closes first, so the history is always a line of whole steps. Undo and Redo
// tell the document state whether the picture is back as it was saved. The text being typed
// and the floating selection end there too: the text as a step of its own.
class EditSession {
public:
    EditSession(Document& document, ToolController& tools);
    EditSession(const EditSession&) = delete;
    EditSession& operator=(const EditSession&) = delete;

    // The selection, the text being typed and the Picture menu's operations.
    PictureEdits& edits() { return m_edits; }
    // Called after every change of the whole picture (open, New, ClrDraw, a conversion, Undo,
    // Redo, a save at another size), once the document holds it: the view shows it whole.
    void onPictureReplaced(std::function<void()> shown) { m_replaced = std::move(shown); }

    // A left or middle press: the change it opens holds what it and its drag draw. With no
    // picture yet, a new one starts, clear (a colour one all paper: none or white).
    void press(double x, double y);
    void release();
    // A command takes the picture over: the gesture ends here, what it drew so far a step.
    void takeOver();
    // A change of the whole picture as one step (ClrDraw, a conversion, a paste).
    void replacePicture(const PixelGrid& picture, std::string label);
    // An import plots through the tools: its cells are one step.
    void beginImport();
    void endImport() { m_document.endChange(); }

    // The document's life as a file; each ends the gesture in progress first.
    // Start-up: a clear `blank` picture of `format`, nothing drawn, the tools as they start.
    void startUp(const PixelGrid& blank, FormatId format);
    // A picture read from `path`: a history of its own, starting saved; the tool disarmed.
    void open(const PixelGrid& picture, FormatId format, const std::string& path);
    // File > New: a clear picture of `format` with a history of its own.
    void startNew(const PixelGrid& blank, FormatId format);
    // ClrDraw: the picture clear (one step when there was one); no step leads back to a saved
    // picture any more.
    void clearDrawing();
    // The picture as it is now is the one in its file (`name`, when Save As wrote it).
    void saved(const std::string* name = nullptr);
    // The file written, of `format`, holds `written`: the document takes the format, and a
    // picture of another size as one step. Of other colours, it starts afresh from it: no step
    // leads back to cells the new format would read otherwise.
    void takeWritten(const PixelGrid& written, FormatId format);

    // False where there was nothing to take back or bring back.
    bool undo();
    bool redo();

private:
    void restored();
    void replaced() const {
        if (m_replaced)
            m_replaced();
    }

    Document& m_document;
    ToolController& m_tools;
    PictureEdits m_edits;
    std::function<void()> m_replaced;
};

} // namespace core
