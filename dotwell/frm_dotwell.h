// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>

#include "core/ui/editor_window.h"
#include "dotwell/ti83_picture_file.h"

class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace dotwell {

// Dotwell's main window: the shared editor with the .82i/.83i file commands, the comment box
// and the PIC options.
class FrmDotwell : public core::EditorWindow {
    Q_OBJECT
public:
    explicit FrmDotwell(core::Prompts& prompts, QWidget* parent = nullptr);

    void Option1_Click(int index);
    void miOpen_click() override;
    void miSave_click() override;
    void miSaveAs_Click() override;

    const PicFileBuffer& picFileBuffer() const { return m_buffer; }
    int selectedOption() const;

    QLineEdit* Text1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 11> Option1{}; // indexes 1..10

protected:
    void prepareFileImage() override;
    void openCommandLine(const QString& commandLine) override;
    void resetTexts() override;
    QString exitWarningText() const override;
    QString importFilter() const override;

private:
    // Reads and shows a picture file; false, with nothing changed, when it cannot.
    bool openPictureFile(const QString& path);
    // Completes the buffer and writes it; false after telling the user why not.
    bool writePictureFile(const QString& path);
    bool picNumberRefused(const QString& name);

    PicFileBuffer m_buffer;
    bool m_archived = false; // the opened .8xi was in archive memory: a .8xi save keeps it
};

} // namespace dotwell
