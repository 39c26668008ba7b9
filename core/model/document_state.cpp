// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/model/document_state.h"

namespace core {

void DocumentState::startUp() {
    *this = DocumentState{};
}

void DocumentState::markEdited() {
    open = false;
    image11 = true;
    image5 = image8 = false;
}

void DocumentState::press() {
    markEdited();
    saveAs = print = true;
}

void DocumentState::clearDrawing() {
    *this = DocumentState{};
}

void DocumentState::opened(std::string name) {
    fileName = std::move(name);
    save = saveAs = print = true;
    image5 = image8 = false;
}

void DocumentState::saved() {
    open = true;
    image11 = false;
}

void DocumentState::savedAs(std::string name) {
    fileName = std::move(name);
    saved();
    save = true;
}

void DocumentState::importAccepted() {
    fileName.clear();
    press();
}

void DocumentState::importDeclined(bool toolbarToo) {
    if (toolbarToo) {
        image11 = true;
        image5 = image8 = false;
    }
}

} // namespace core
