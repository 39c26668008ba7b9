// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "core/model/document_state.h"
#include "core/model/save_as_naming.h"

using core::DocumentState;
using core::SaveAsKind;

namespace {

std::string flags(const DocumentState& s) {
    // open save saveAs print | covers 11 5 8
    std::string out;
    for (bool b : {s.open, s.save, s.saveAs, s.print})
        out += b ? '1' : '0';
    out += '|';
    for (bool b : {s.image11, s.image5, s.image8})
        out += b ? '1' : '0';
    return out + " " + s.fileName;
}

} // namespace

TEST(DocumentState, EveryEventOfTheTableInTurn) {
    struct Row {
        const char* event;
        std::function<void(DocumentState&)> change;
        const char* expected; // open save saveAs print | Image11 Image5 Image8, file name
    };
    const Row rows[] = {
        {"start-up", [](DocumentState& d) { d.startUp(); }, "1000|011 "},
        {"press", [](DocumentState& d) { d.press(); }, "0011|100 "},
        {"declined import, dotwell", [](DocumentState& d) { d.importDeclined(true); }, "0011|100 "},
        {"ClrDraw", [](DocumentState& d) { d.clearDrawing(); }, "1000|011 "},
        {"declined import, pixvane", [](DocumentState& d) { d.importDeclined(false); },
         "1000|011 "},
        {"declined import, dotwell", [](DocumentState& d) { d.importDeclined(true); }, "1000|100 "},
        {"ClrDraw", [](DocumentState& d) { d.clearDrawing(); }, "1000|011 "},
        {"open", [](DocumentState& d) { d.opened("a.83i"); }, "1111|000 a.83i"},
        {"press", [](DocumentState& d) { d.press(); }, "0111|100 a.83i"},
        {"save", [](DocumentState& d) { d.saved(); }, "1111|000 a.83i"},
        {"import", [](DocumentState& d) { d.importAccepted(); }, "0111|100 "},
        {"bitmap export", [](DocumentState& d) { d.rename("pic.bmp"); }, "0111|100 pic.bmp"},
        {"save as", [](DocumentState& d) { d.savedAs("b.82i"); }, "1111|000 b.82i"},
        {"open over a picture", [](DocumentState& d) { d.opened("c.83i"); }, "1111|000 c.83i"},
        {"ClrDraw", [](DocumentState& d) { d.clearDrawing(); }, "1000|011 "},
        {"import on a new picture", [](DocumentState& d) { d.importAccepted(); }, "0011|100 "},
        {"save as", [](DocumentState& d) { d.savedAs("d.92i"); }, "1111|000 d.92i"},
    };
    DocumentState state;
    for (const Row& row : rows) {
        row.change(state);
        EXPECT_EQ(flags(state), row.expected) << row.event;
        EXPECT_EQ(state.pictureExists(), state.saveAs);
        EXPECT_EQ(state.unsaved(), !state.open);
    }
}

TEST(SaveAsNaming, NameAndFilterEntryChooseTheBranch) {
    const core::SaveAsNaming dotwell{{"82I", "83I"}, {{3, "bmp", SaveAsKind::Bitmap}}};
    const core::SaveAsNaming pixvane{{"92I"}, {{2, "bmp", SaveAsKind::Bitmap}}};
    struct Row {
        const core::SaveAsNaming* naming;
        const char* name;
        int entry;
        const char* resultName;
        SaveAsKind kind;
    };
    const Row rows[] = {
        {&dotwell, "pic.82i", 1, "pic.82i", SaveAsKind::Calculator},
        {&dotwell, "pic.83I", 1, "pic.83I", SaveAsKind::Calculator},
        {&dotwell, "pic.83i", 2, "pic.83i", SaveAsKind::Calculator},
        {&dotwell, "pic82i", 1, "pic82i", SaveAsKind::Calculator}, // the last three characters
        {&dotwell, "pic", 3, "pic.bmp", SaveAsKind::Bitmap},
        {&dotwell, "pic.82i", 3, "pic.82i.bmp", SaveAsKind::Bitmap},
        {&dotwell, "PIC.BMP", 1, "PIC.BMP", SaveAsKind::Bitmap},
        {&dotwell, "PIC.BMP", 3, "PIC.BMP", SaveAsKind::Bitmap},
        {&dotwell, "pic.txt", 1, "pic.txt", SaveAsKind::Refused},
        {&dotwell, "", 1, "", SaveAsKind::Refused},
        {&pixvane, "pic.92I", 1, "pic.92I", SaveAsKind::Calculator},
        {&pixvane, "pic.92i", 2, "pic.92i.bmp", SaveAsKind::Bitmap},
        {&pixvane, "pic", 2, "pic.bmp", SaveAsKind::Bitmap},
        {&pixvane, "pic.txt", 1, "pic.txt", SaveAsKind::Refused},
        {&pixvane, "pic.82i", 1, "pic.82i", SaveAsKind::Refused},
    };
    for (const Row& row : rows) {
        const core::SaveAsTarget target = core::saveAsTarget(*row.naming, row.name, row.entry);
        EXPECT_EQ(target.name, row.resultName) << row.name << " in entry " << row.entry;
        EXPECT_EQ(target.kind, row.kind) << row.name << " in entry " << row.entry;
    }
}
