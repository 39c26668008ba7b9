// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>

#include "core/formats/calculator_picture.h"
#include "core/ui/editor_window.h"

class QGroupBox;
namespace core {
class ColourChooser;
class PaletteBar;
} // namespace core
class QLineEdit;
class QRadioButton;

namespace dotwell {

// Dotwell's main window: the shared editor with the TI-82/83 family's file commands, the comment
// box, the PIC options and opening a file dropped on the canvas.
class FrmDotwell : public core::EditorWindow {
    Q_OBJECT
public:
    explicit FrmDotwell(core::Prompts& prompts, QWidget* parent = nullptr);

    void Option1_Click(int index);
    // A file dropped on the canvas opens as Open would open it, once any unsaved drawing is
    // given up.
    void Picture1_OLEDragDrop(const QString& path);
    void miOpen_click() override;
    void miSave_click() override;
    void miSaveAs_Click() override;

    const core::PicFileBuffer& picFileBuffer() const { return m_file.buffer; }
    int selectedOption() const;

    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr; // a TI-85/86 picture's name, shown for those only
    QWidget* NameRow = nullptr;
    QGroupBox* Frame1 = nullptr;
    // A colour picture's ink: the palette of a picture, or a background image's colour and the
    // colours used last; shown for those only.
    QWidget* InkRow = nullptr;
    core::PaletteBar* Palette = nullptr;
    core::ColourChooser* Colours = nullptr;
    std::array<QRadioButton*, 11> Option1{}; // indexes 1..10

protected:
    void prepareFileImage() override;
    void documentFormatChanged() override;
    void newFile(core::FormatId format) override;
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

    // The picture's file as Save writes it: its file image (PicFileBuffer) and whether an
    // opened TI-83 Plus picture was in archive memory, which a save in that format keeps.
    core::CalculatorPicture m_file;
};

} // namespace dotwell
