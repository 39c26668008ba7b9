// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <string>

namespace core {

// Which commands are available: whether a picture exists, whether it has a file name and
// whether it holds drawing not yet saved. The window shows it in the enabled states of the
// File menu's items and in the three cover images that grey the toolbar's buttons, and sets
// those from here only.
struct DocumentState {
    std::string fileName; // UTF-8; empty when there is none
    bool open = true;     // miOpen: nothing unsaved
    bool save = false;    // miSave: the picture has a file name to save to
    bool saveAs = false;  // miSaveAs: a picture exists (the canvas shows it only then)
    bool print = false;   // miPrint
    bool image11 = false; // the cover over Open, shown while unsaved
    bool image5 = true;   // the covers over Save and Print, shown while no picture exists
    bool image8 = true;

    bool pictureExists() const { return saveAs; }
    bool unsaved() const { return !open; }
    // The toolbar's Save button saves in place only where the menu's Save could.
    bool savesInPlace() const { return save && !fileName.empty(); }

    // The events that change it, by their names in the table of states.
    void startUp();
    void press(); // a left or middle press on the canvas
    void clearDrawing();
    void opened(std::string name); // a picture read from a file: Open, command line, drop
    void saved();
    void savedAs(std::string name); // a calculator file written by Save As
    void importAccepted();
    // `toolbarToo`: the program greys its toolbar as for an edit even when the import is
    // declined.
    void importDeclined(bool toolbarToo);
    // Undo or Redo has put back a picture: a change like a press. The file name stays.
    void restored() { press(); }
    // A new name without any other change: a refused Open or Save As, a bitmap export.
    void rename(std::string name) { fileName = std::move(name); }

    bool operator==(const DocumentState&) const = default;

private:
    void markEdited();
};

} // namespace core
