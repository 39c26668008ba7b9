// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include "core/formats/calculator_picture.h"
#include "core/ui/editor_window.h"

class QLabel;
class QLineEdit;

namespace pixvane {

// Pixvane's main window: the shared editor with the .92i file commands, the folder, name and
// comment boxes, and opening a file dropped on the canvas.
class FrmPixvane : public core::EditorWindow {
    Q_OBJECT
public:
    explicit FrmPixvane(core::Prompts& prompts, QWidget* parent = nullptr);

    bool CheckVarName();
    bool CheckFolderName();
    void Text2_Change();
    void Text3_Change();
    // Reads a .92i file into the editor; false, with nothing changed, when it cannot.
    bool ReadPictureFile(const QString& path);
    void Picture1_OLEDragDrop(const QString& path);
    void miOpen_click() override;
    void miSave_click() override;
    void miSaveAs_Click() override;
    void Form_MouseMove() override;

    const QString& storedVariableName() const { return m_variableName; }

    QLineEdit* Text1 = nullptr; // comment
    QLineEdit* Text2 = nullptr; // picture-variable name
    QLineEdit* Text3 = nullptr; // folder
    QLabel* Label2 = nullptr;   // hint line
    // pixvane's name for the tool menu's items.
    decltype(miTool)& mitool = miTool;

protected:
    void openCommandLine(const QString& commandLine) override;
    void resetTexts() override;
    void newFile(core::FormatId format) override;
    QString exitWarningText() const override;
    QString importFilter() const override;

private:
    bool showVerdict(const QString& name, bool variable);
    bool writePictureFile(const QString& path);

    QString m_variableName;
    // What a save keeps of the file read: whether it was locked or archived.
    core::CalculatorPicture m_file;
};

} // namespace pixvane
