// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/edit_session.h"

namespace core {

EditSession::EditSession(Document& document, ToolController& tools)
    : m_document(document), m_tools(tools), m_edits(document, tools) {
    m_tools.setGestureHandler(&m_edits);
}

void EditSession::press(double x, double y) {
    m_document.endChange(); // one whose release went elsewhere
    const DrawTool tool =
        m_tools.currentTool() != 0 ? m_tools.currentTool() : m_tools.rememberedTool();
    m_edits.beforePress(tool);
    m_document.beginChange(std::string(toolInfo(tool).caption));
    if (!m_document.state().print) { // a new picture: whatever the cells held goes
        // To paper: a background image's is white, and its 0 would be black.
        const std::int16_t paper = paperOf(m_document.cellKind());
        const PixelGrid& picture = m_document.picture();
        for (int r = 0; r < picture.rows(); ++r)
            for (int c = 0; c < picture.columns(); ++c)
                if (picture.at(r, c) != paper)
                    m_document.setCell(r, c, paper);
    }
    m_document.state().press();
    m_tools.press(x, y);
}

void EditSession::release() {
    m_tools.release();
    m_document.endChange();
}

void EditSession::takeOver() {
    m_tools.endGesture();
    m_document.endChange();
    m_edits.settle();
}

void EditSession::replacePicture(const PixelGrid& picture, std::string label) {
    takeOver();
    m_document.replacePicture(picture, std::move(label));
    replaced();
}

void EditSession::beginImport() {
    takeOver();
    m_document.beginChange("Import");
}

void EditSession::startUp(const PixelGrid& blank, FormatId format) {
    m_document.state().startUp();
    m_document.resetPicture(blank, false);
    m_document.setFormat(format);
    m_tools.reset();
}

void EditSession::open(const PixelGrid& picture, FormatId format, const std::string& path) {
    takeOver();
    m_document.resetPicture(picture, true);
    m_document.setFormat(format);
    m_document.state().opened(path);
    m_tools.disarm();
    replaced();
}

void EditSession::startNew(const PixelGrid& blank, FormatId format) {
    takeOver();
    m_document.resetPicture(blank, false);
    m_document.setFormat(format);
    m_document.state().clearDrawing();
    replaced();
}

void EditSession::clearDrawing() {
    // All paper: a background image's 0 would be black.
    const PixelGrid blank(m_document.picture().rows(), m_document.picture().columns(),
                          paperOf(m_document.cellKind()));
    if (m_document.state().pictureExists()) {
        takeOver();
        m_document.replacePicture(blank, "ClrDraw");
    } else {
        m_document.resetPicture(blank, false);
    }
    m_document.forgetSaved();
    m_document.state().clearDrawing();
    replaced();
}

void EditSession::saved(const std::string* name) {
    m_document.markSaved();
    if (name)
        m_document.state().savedAs(*name);
    else
        m_document.state().saved();
}

void EditSession::takeWritten(const PixelGrid& written, FormatId format) {
    const bool sameCells = cellKindOf(format) == m_document.cellKind();
    m_document.setFormat(format);
    if (!sameCells) {
        takeOver();
        m_document.resetPicture(written, false);
        replaced();
    } else if (written.rows() != m_document.picture().rows() ||
               written.columns() != m_document.picture().columns()) {
        replacePicture(written, "Resize");
    }
}

bool EditSession::undo() {
    takeOver();
    if (!m_document.undo())
        return false;
    restored();
    return true;
}

bool EditSession::redo() {
    takeOver();
    if (!m_document.redo())
        return false;
    restored();
    return true;
}

void EditSession::restored() {
    DocumentState& state = m_document.state();
    state.restored();
    if (m_document.history().atSaved())
        state.saved(); // the picture is the one in its file again
    replaced();
}

} // namespace core
