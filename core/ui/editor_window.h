#pragma once

#include <array>
#include <functional>

#include <QLabel>
#include <QMainWindow>
#include <QString>

#include "core/model/calculator_profile.h"
#include "core/model/page_settings.h"
#include "core/model/pixel_grid.h"
#include "core/model/tool_controller.h"
#include "core/platform/prompts.h"
#include "core/ui/picture_canvas.h"
#include "core/ui/toolbar_image.h"

class QAction;
class QMenu;
class QStatusBar;
class QVBoxLayout;

namespace core {

class PageSetupDialog;
class AboutWindow;
class HelpWindow;

// What decides which commands are available: the file name and the enabled and visible
// states of the menu items and the toolbar's cover images.
struct DocumentState {
    QString fileName;
    bool open, save, saveAs, print;
    bool image11, image5, image8; // cover images shown
    bool operator==(const DocumentState&) const = default;
};

// The main window logic both programs share: canvas, tools, menus, toolbar, status bar,
// printing, page setup, import, bitmap export and the exit guard. The programs add their
// file commands and their text boxes.
class EditorWindow : public QMainWindow {
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
    void miAbout_Click();
    void miInstructions_click();
    virtual void miOpen_click() = 0;
    virtual void miSave_click() = 0;
    virtual void miSaveAs_Click() = 0;

    const CalculatorProfile& profile() const { return m_profile; }
    PixelGrid& grid() { return m_grid; }
    ToolController& tools() { return m_tools; }
    PageSettings& pageSettings() { return m_pageSettings; }
    DocumentState documentState() const;
    const QString& fileName() const { return m_fileName; }
    QString statusFileText() const;
    QString statusCoordinateText() const;
    PageSetupDialog* pageSetupDialog() const { return pgset; }
    AboutWindow* aboutWindow() const { return frmAbout; }
    HelpWindow* helpWindow() const { return frmHelp; }

    // How the program ends; tests replace it to watch for the end.
    std::function<void()> endProgram;

    PictureCanvas* Picture1 = nullptr;
    QAction* miOpen = nullptr;
    QAction* miSave = nullptr;
    QAction* miSaveAs = nullptr;
    QAction* miImport = nullptr;
    QAction* mipgset = nullptr;
    QAction* miPrint = nullptr;
    QAction* miExit = nullptr;
    QAction* miCls = nullptr;
    QMenu* miTools = nullptr;
    std::array<QAction*, 13> miTool{}; // items 1..12
    QAction* miInstructions = nullptr;
    QAction* miAbout = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<ToolbarImage*, 12> Image{}; // Image[1]..Image[11]
    // The part of a toolbar button that takes the mouse, by the index of its raised picture.
    ToolbarImage* buttonArea(int raised) const { return m_buttonAreas[size_t(raised)]; }

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

    void setFileName(const QString& name) { m_fileName = name; }
    void setStatusFileText(const QString& text);
    // The canvas side of a successful read: enable Save, Save As and Print, disarm the tool,
    // repaint from the grid (which the caller has just filled).
    void showReadPicture();
    // Save or a calculator-file Save As has written the picture.
    void markSaved();
    // Writes the zoomed canvas as a Windows bitmap and reports it.
    void exportBitmap(const QString& path);
    // Shows a file-system failure with the path and the system's reason.
    void showFileError(const QString& title, const QString& text);

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolbar(QWidget* toolbar);
    void connectToolbarButton(int raised, std::function<void()> command);
    void markEdited();
    // The exit command; true when the program was told to end.
    bool exitProgram();
    void syncToolChecks();
    void fitCanvas();

    const CalculatorProfile& m_profile;
    Prompts& m_prompts;
    PixelGrid m_grid;
    ToolController m_tools;
    PageSettings m_pageSettings;
    QString m_fileName;
    QWidget* m_canvasHost = nullptr;
    QVBoxLayout* m_fieldsLayout = nullptr;
    QLabel* m_panel1 = nullptr;
    QLabel* m_panel2 = nullptr;
    QLabel* Picture2 = nullptr;
    std::array<ToolbarImage*, 12> m_buttonAreas{};
    PageSetupDialog* pgset = nullptr;
    AboutWindow* frmAbout = nullptr;
    HelpWindow* frmHelp = nullptr;
    bool m_exitConfirmed = false; // while the program is ending: its closes just close
};

} // namespace core
