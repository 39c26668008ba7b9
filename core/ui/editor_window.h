// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QString>

#include "core/model/calculator_profile.h"
#include "core/model/colour_conversion.h"
#include "core/model/document.h"
#include "core/model/edit_session.h"
#include "core/model/page_settings.h"
#include "core/model/pixel_grid.h"
#include "core/model/save_as_naming.h"
#include "core/model/tool_controller.h"
#include "core/platform/prompts.h"
#include "core/ui/editor_menus.h"
#include "core/ui/picture_canvas.h"
#include "core/ui/replace_questions.h"
#include "core/ui/status_panels.h"
#include "core/ui/toolbar.h"

class QVBoxLayout;

namespace core {

class AboutWindow;
class CanvasInput;
class CanvasView;
class ClipboardCommands;
class ConvertCommand;
class ExitCommand;
class HelpWindow;
class ImportCommand;
class InformationWindows;
class PageSetupDialog;
class PictureEditing;

// The main window both programs share. It wires: the document (the picture, its history and
// its state) to the canvas, the tools, the menus, the toolbar and the status bar, and each
// command to the unit that does its work (import, conversion, clipboard, printing, the edit
// session that makes presses and commands into steps). The handlers whose names the
// behaviour fixes stay thin. The programs add their file commands and their text boxes.
class EditorWindow : public QMainWindow, public EditorMenus {
    Q_OBJECT
public:
    EditorWindow(const CalculatorProfile& profile, Prompts& prompts, QWidget* parent = nullptr);
    ~EditorWindow() override;

    // Start-up; the command line is the whole text after the program name.
    void Form_Load(const QString& commandLine);

    void Picture1_Paint();
    void Picture1_MouseDown(int button, int shift, double x, double y);
    void Picture1_MouseMove(int button, int shift, double x, double y);
    void Picture1_MouseUp(int button, int shift, double x, double y);
    virtual void Form_MouseMove();
    void miTool_Click(int index);
    void miCls_Click();
    void miExit_Click();
    void miPrint_click();
    void mipgset_Click();
    void miImport_Click();
    void miConvert_Click();
    void miUndo_Click();
    void miRedo_Click();
    void miCopy_Click();
    void miPaste_Click();
    void miAbout_Click();
    void miNew_Click(FormatId format);
    void miInstructions_click();
    virtual void miOpen_click() = 0;
    virtual void miSave_click() = 0;
    virtual void miSaveAs_Click() = 0;

    const CalculatorProfile& profile() const { return m_profile; }
    const PixelGrid& grid() const { return m_document.picture(); }
    Document& document() { return m_document; }
    ToolController& tools() { return m_tools; }
    PictureEdits& edits() { return m_session.edits(); }
    CanvasView* view() const { return m_view; }
    PageSettings& pageSettings() { return m_pageSettings; }
    const DocumentState& documentState() const { return m_document.state(); }
    // What the picture's cells hold, as its format says.
    CellKind cellKind() const { return m_document.cellKind(); }
    QString fileName() const { return QString::fromStdString(m_document.state().fileName); }
    QString statusFileText() const { return StatusBar1->fileText(); }
    QString statusCoordinateText() const { return StatusBar1->cellText(); }
    InformationWindows& information() { return *m_information; }

    // How the program ends; tests replace it to watch for the end.
    std::function<void()> endProgram;

    PictureCanvas* Picture1 = nullptr;
    StatusPanels* StatusBar1 = nullptr;
    Toolbar* toolbar = nullptr;
    std::array<ToolbarImage*, 12> Image{}; // Image[1]..Image[11], the toolbar's
    ToolbarImage* buttonArea(int raised) const { return toolbar->buttonArea(raised); }

protected:
    // Form_Load step 3: the blank file image and the picture-variable fields.
    virtual void prepareFileImage() {}
    // Form_Load step 9.
    virtual void openCommandLine(const QString& commandLine) = 0;
    // ClrDraw: the text boxes back to their defaults.
    virtual void resetTexts() = 0;
    virtual QString exitWarningText() const = 0;
    // The import dialog's first filter entry.
    virtual QString importFilter() const = 0;

    // Area under the canvas for the program's text boxes and options.
    QVBoxLayout* fieldsLayout() const { return m_fieldsLayout; }
    Prompts& prompts() { return m_prompts; }

    // Every change of the document state goes through here and is shown at once.
    void changeDocument(const std::function<void(DocumentState&)>& change);
    void setFileName(const QString& name);
    void setStatusFileText(const QString& text) { StatusBar1->setFileText(text); }
    // The canvas side of a successful read of `picture` from `path`: the document state of an
    // open with a history of its own, the tool disarmed, the canvas repainted.
    void showReadPicture(const QString& path, const PixelGrid& picture, FormatId format);
    // Save wrote the file: the picture as it is now is the saved one.
    void pictureSaved();
    // The cells a file of this format holds: the picture itself, or (another calculator's
    // size) its top left on that size, after asking when dark cells would be lost; nothing
    // when the user keeps the picture as it is.
    std::optional<PixelGrid> pictureFor(FormatId format);
    // The file of `format` holding `written` was saved: the document takes its size, and the
    // cells of a calculator with other colours.
    void savedAtSize(const PixelGrid& written, FormatId format);
    // The document's format changed (read, New, Save As): what the boxes show may change.
    virtual void documentFormatChanged() {}
    // File > New: the program's file image for an empty picture of this format.
    virtual void newFile(FormatId) {}
    // Save As once the name is chosen: a picture export, or the calculator file that `write`
    // writes (the document is then saved under that name), or the refusal message.
    void completeSaveAs(const SaveAsTarget& target,
                        const std::function<bool(const QString& path)>& write,
                        const QString& refusal);
    // A message with the exclamation icon and an OK button.
    void showWarning(const QString& title, const QString& text);
    // A file dropped over drawing that was never saved asks first; true when it may replace
    // the picture.
    bool dropMayReplaceDrawing(const QString& path) {
        return mayReplaceDrawing(m_prompts, this, documentState().unsaved(), openInItsPlace(path));
    }

private:
    void connectMenus();
    // The one place that sets the menu items' enabled states and the covers' visibility.
    void applyDocumentState();
    void syncToolChecks();
    // A conversion's cells, from Convert Image or Paste, become the picture.
    void takeConversion(const std::optional<PixelGrid>& cells);
    // ClrDraw and File > New: the window's side of a clear picture.
    void drawingCleared();

    const CalculatorProfile& m_profile;
    Prompts& m_prompts;
    Document m_document;
    ToolController m_tools;
    EditSession m_session;
    PageSettings m_pageSettings;
    QVBoxLayout* m_fieldsLayout = nullptr;
    CanvasView* m_view = nullptr;
    PictureEditing* m_editing = nullptr; // selection, text, Picture and View menus
    std::unique_ptr<CanvasInput> m_input;
    std::unique_ptr<ImportCommand> m_import;
    std::unique_ptr<ConvertCommand> m_convert;
    ClipboardCommands* m_clipboard = nullptr;
    std::unique_ptr<InformationWindows> m_information; // pgset, frmAbout, frmHelp
    ExitCommand* m_exit = nullptr;                     // the exit command and the close box
};

} // namespace core
