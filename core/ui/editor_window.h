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
#include "core/model/document_state.h"
#include "core/model/page_settings.h"
#include "core/model/pixel_grid.h"
#include "core/model/save_as_naming.h"
#include "core/model/tool_controller.h"
#include "core/model/undo_history.h"
#include "core/platform/prompts.h"
#include "core/ui/editor_menus.h"
#include "core/ui/picture_canvas.h"
#include "core/ui/status_panels.h"
#include "core/ui/toolbar.h"

class QVBoxLayout;

namespace core {

class AboutWindow;
class HelpWindow;
class ImportCommand;
class PageSetupDialog;

// The main window both programs share: it wires the canvas, the tools, the menus, the
// toolbar and the status bar, and keeps the handlers whose names the behaviour fixes thin.
// The programs add their file commands and their text boxes.
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
    void miInstructions_click();
    virtual void miOpen_click() = 0;
    virtual void miSave_click() = 0;
    virtual void miSaveAs_Click() = 0;

    const CalculatorProfile& profile() const { return m_profile; }
    PixelGrid& grid() { return m_grid; }
    ToolController& tools() { return m_tools; }
    PageSettings& pageSettings() { return m_pageSettings; }
    const DocumentState& documentState() const { return m_document; }
    QString fileName() const { return QString::fromStdString(m_document.fileName); }
    QString statusFileText() const { return StatusBar1->fileText(); }
    QString statusCoordinateText() const { return StatusBar1->cellText(); }
    PageSetupDialog* pageSetupDialog() const { return pgset; }
    AboutWindow* aboutWindow() const { return frmAbout; }
    HelpWindow* helpWindow() const { return frmHelp; }

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
    // The canvas side of a successful read from `path`: the document state of an open, the
    // tool disarmed, the canvas repainted from the grid (which the caller has just filled).
    void showReadPicture(const QString& path);
    // Save As once the name is chosen: a picture export, or the calculator file that `write`
    // writes (the document is then saved under that name), or the refusal message.
    void completeSaveAs(const SaveAsTarget& target,
                        const std::function<bool(const QString& path)>& write,
                        const QString& refusal);
    // A message with the exclamation icon and an OK button.
    void showWarning(const QString& title, const QString& text);

    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Save As to a picture that is not a calculator file: writes it and reports it.
    void exportPicture(const QImage& image, const QString& path, const char* format,
                       const QString& failure);
    void connectMenus();
    // The one place that sets the menu items' enabled states and the covers' visibility.
    void applyDocumentState();
    void watchClipboard();
    void clipboardChanged();
    void syncToolChecks();
    // The exit command; true when the program was told to end.
    bool exitProgram();
    void restore(const PictureSnapshot& picture);
    // A change to the picture is about to be made: one undo step.
    void recordStep();
    // The stroke or shape since the last press, if it changed the picture, becomes a step.
    void finishStroke();
    // A command takes over the picture: the press's gesture ends here, its stroke so far a
    // step of its own, so the history stays a straight line of whole steps.
    void endGesture();
    // Convert Image's dialog on a picture; OK replaces or adds to the grid.
    void convert(const QImage& picture);

    const CalculatorProfile& m_profile;
    Prompts& m_prompts;
    PixelGrid m_grid;
    ToolController m_tools;
    PageSettings m_pageSettings;
    DocumentState m_document;
    UndoHistory m_history;
    std::optional<PictureSnapshot> m_strokeBefore; // how things stood at the last press
    bool m_clipboardHasImage = false;
    bool m_clipboardWatched = false;
    bool m_firstFrameShown = false;
    QVBoxLayout* m_fieldsLayout = nullptr;
    std::unique_ptr<ImportCommand> m_import;
    PageSetupDialog* pgset = nullptr;
    AboutWindow* frmAbout = nullptr;
    HelpWindow* frmHelp = nullptr;
    bool m_exitConfirmed = false; // while the program is ending: its closes just close
};

} // namespace core
