// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/editor_window.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QVBoxLayout>

#include "core/formats/format_registry.h"
#include "core/imaging/file_io.h"
#include "core/imaging/picture_writer.h"
#include "core/platform/qt_prompts.h"
#include "core/ui/canvas_input.h"
#include "core/ui/canvas_view.h"
#include "core/ui/clipboard_commands.h"
#include "core/ui/convert_command.h"
#include "core/ui/exit_command.h"
#include "core/ui/first_frame.h"
#include "core/ui/import_command.h"
#include "core/ui/info_windows.h"
#include "core/ui/picture_editing.h"
#include "core/ui/picture_export.h"
#include "core/ui/picture_sizes.h"
#include "core/ui/print_backend.h"
#include "core/ui/replace_questions.h"

namespace core {

EditorWindow::EditorWindow(const CalculatorProfile& profile, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent),
      Picture1(new PictureCanvas(profile.rows, profile.columns, profile.defaultZoom)),
      m_profile(profile), m_prompts(prompts), m_document(profile.rows, profile.columns),
      m_tools(profile, m_document, *Picture1), m_session(m_document, m_tools) {
    setWindowTitle(QString::fromUtf8(profile.appTitle.data(), qsizetype(profile.appTitle.size())));
    endProgram = [] { QApplication::quit(); };

    auto* central = new QWidget(this);
    central->setMouseTracking(true);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 0, 4, 4);
    toolbar = new Toolbar(central);
    Image = toolbar->Image;
    layout->addWidget(toolbar);
    m_view = new CanvasView(Picture1, profile.defaultZoom, central);
    layout->addWidget(m_view, 1);
    m_fieldsLayout = new QVBoxLayout;
    layout->addLayout(m_fieldsLayout);
    setCentralWidget(central);
    m_import = std::make_unique<ImportCommand>(profile, prompts, m_view);
    m_convert = std::make_unique<ConvertCommand>(profile, prompts, this);
    m_clipboard = new ClipboardCommands(this, [this] { applyDocumentState(); });
    m_information = std::make_unique<InformationWindows>(profile, m_pageSettings, prompts, this);

    StatusBar1 = new StatusPanels(this);
    setStatusBar(StatusBar1);

    createMenus(this);
    connectMenus();
    m_input = std::make_unique<CanvasInput>(*Picture1, m_tools, m_session, *StatusBar1, *miTools);
    m_editing = new PictureEditing(*this, m_clipboard, prompts, [this] { applyDocumentState(); });
    toolbar->setCommand(1, [this] { miOpen_click(); });
    toolbar->setCommand(
        3, [this] { documentState().savesInPlace() ? miSave_click() : miSaveAs_Click(); });
    toolbar->setCommand(7, [this] { miPrint_click(); });
    toolbar->setCommand(10, [this] { miInstructions_click(); });

    Picture1->setRepaintHandler([this] {
        Picture1_Paint();
        m_tools.redrawPreview();
    });
    m_session.onPictureReplaced([this] {
        if (!documentState().pictureExists() && cellKind() == CellKind::Monochrome)
            Picture1->clear(); // the cells a new picture will start from are not shown
        Picture1_Paint();
    });
    connect(Picture1, &PictureCanvas::mouseDown, this, &EditorWindow::Picture1_MouseDown);
    connect(Picture1, &PictureCanvas::mouseMove, this, &EditorWindow::Picture1_MouseMove);
    connect(Picture1, &PictureCanvas::mouseUp, this, &EditorWindow::Picture1_MouseUp);
    new PointerAwayWatch(this, Picture1, [this] { Form_MouseMove(); });
    endDragWhenInactive(this, m_tools);
    m_exit = new ExitCommand(
        this, prompts, [this] { return documentState().unsaved(); },
        [this] { return exitWarningText(); }, [this] { endProgram(); });
    afterFirstFrame(this, [this] {
        setWindowIcon(programIcon(m_profile));
        m_clipboard->watch(); // for Paste
    });
}

EditorWindow::~EditorWindow() {
    Picture1->setRepaintHandler(nullptr);
}

void EditorWindow::connectMenus() {
    using Handler = void (EditorWindow::*)();
    const std::pair<QAction*, Handler> items[] = {
        {miOpen, &EditorWindow::miOpen_click},
        {miSave, &EditorWindow::miSave_click},
        {miSaveAs, &EditorWindow::miSaveAs_Click},
        {miImport, &EditorWindow::miImport_Click},
        {miConvert, &EditorWindow::miConvert_Click},
        {miUndo, &EditorWindow::miUndo_Click},
        {miRedo, &EditorWindow::miRedo_Click},
        {miCopy, &EditorWindow::miCopy_Click},
        {miPaste, &EditorWindow::miPaste_Click},
        {mipgset, &EditorWindow::mipgset_Click},
        {miPrint, &EditorWindow::miPrint_click},
        {miExit, &EditorWindow::miExit_Click},
        {miCls, &EditorWindow::miCls_Click},
        {miInstructions, &EditorWindow::miInstructions_click},
        {miAbout, &EditorWindow::miAbout_Click},
    };
    for (const auto& [item, handler] : items)
        connect(item, &QAction::triggered, this, [this, handler = handler] { (this->*handler)(); });
    for (int index = 1; index <= kToolCount; ++index)
        connect(miTool[index], &QAction::triggered, this, [this, index] { miTool_Click(index); });
    addNewPictureItems(miNew, formatOf(m_profile.newFormat).program,
                       [this](FormatId format) { miNew_Click(format); });
}

void EditorWindow::applyDocumentState() {
    const DocumentState& state = m_document.state();
    showState(state, m_document.history(), m_clipboard && m_clipboard->hasImage());
    toolbar->showCovers(state);
    if (m_editing)
        m_editing->applyState(state);
}

void EditorWindow::changeDocument(const std::function<void(DocumentState&)>& change) {
    change(m_document.state());
    applyDocumentState();
}

void EditorWindow::setFileName(const QString& name) {
    m_document.state().rename(name.toStdString());
}

void EditorWindow::Form_Load(const QString& commandLine) {
    m_session.startUp(PixelGrid(m_profile.rows, m_profile.columns), m_profile.newFormat);
    applyDocumentState();
    prepareFileImage();
    Picture1->setEnabled(true);
    syncToolChecks();
    m_pageSettings = PageSettings{};
    // Big enough for the profile's zoom where the screen allows it, frame and all, in the
    // screen's middle.
    resize(sizeHint().boundedTo(largestClientSize(this)));
    centreOnScreen(this);
    Picture1->setFocus(); // the tool keys work from the start
    if (!commandLine.isEmpty())
        openCommandLine(commandLine);
}

void EditorWindow::Picture1_Paint() {
    m_view->showPicture(m_document.picture(), cellKind(), m_profile.cellFill,
                        documentState().pictureExists());
}

void EditorWindow::Picture1_MouseDown(int button, int, double x, double y) {
    if (m_input->down(button, x, y)) {
        applyDocumentState();
        syncToolChecks();
    }
}

void EditorWindow::Picture1_MouseMove(int button, int, double x, double y) {
    m_input->move(button, x, y);
}

void EditorWindow::Picture1_MouseUp(int, int, double, double) {
    m_input->up();
    applyDocumentState();
}

void EditorWindow::Form_MouseMove() {
    StatusBar1->clearCell();
}

void EditorWindow::miTool_Click(int index) {
    m_tools.selectTool(static_cast<DrawTool>(index));
    syncToolChecks();
}

void EditorWindow::syncToolChecks() {
    const DrawTool checked = m_tools.checkedTool();
    for (int i = 1; i <= kToolCount; ++i)
        miTool[i]->setChecked(i == checked);
}

void EditorWindow::showReadPicture(const QString& path, const PixelGrid& picture, FormatId format) {
    m_session.open(picture, format, path.toStdString());
    documentFormatChanged();
    applyDocumentState();
    syncToolChecks();
}

std::optional<PixelGrid> EditorWindow::pictureFor(FormatId format) {
    return pictureForFormat(formatOf(format), m_document.picture(), cellKind(), m_prompts, this,
                            *m_convert);
}

void EditorWindow::savedAtSize(const PixelGrid& written, FormatId format) {
    m_session.takeWritten(written, format);
    documentFormatChanged();
}

void EditorWindow::miNew_Click(FormatId format) {
    const FormatDescriptor& f = formatOf(format);
    if (!mayReplaceDrawing(m_prompts, this, documentState().unsaved(), tr("start a new picture")))
        return;
    m_session.startNew(PixelGrid(f.picture.rows, f.picture.columns, paperOf(f.cells)), format);
    drawingCleared();
    newFile(format);
    documentFormatChanged();
}

void EditorWindow::pictureSaved() {
    m_session.saved();
    applyDocumentState();
}

void EditorWindow::miCls_Click() {
    m_session.clearDrawing();
    drawingCleared();
}

void EditorWindow::drawingCleared() {
    applyDocumentState();
    StatusBar1->setFileText(QString());
    resetTexts();
}

void EditorWindow::miExit_Click() {
    m_exit->run();
}

void EditorWindow::showWarning(const QString& title, const QString& text) {
    m_prompts.message(this, title, text, MessageIcon::Exclamation, MessageButtons::Ok);
}

void EditorWindow::miPrint_click() {
    printPicture(this, m_prompts, m_document.picture(), m_pageSettings, cellKind());
}

void EditorWindow::mipgset_Click() {
    m_information->pageSetup(m_document.picture().rows(), m_document.picture().columns());
}

void EditorWindow::miAbout_Click() {
    m_information->about();
}

void EditorWindow::miInstructions_click() {
    m_information->help();
}

void EditorWindow::miImport_Click() {
    const ImportCommand::Result result = m_import->run(
        importFilter(), QSize(m_document.picture().columns(), m_document.picture().rows()));
    if (result.outcome == ImportCommand::Outcome::Accepted) {
        Picture1->setFocus(Qt::OtherFocusReason);
        m_import->overlay(result.picture, m_session, m_tools);
        changeDocument([](DocumentState& d) { d.importAccepted(); });
        syncToolChecks();
    } else if (result.outcome == ImportCommand::Outcome::Declined) {
        changeDocument([this](DocumentState& d) { d.importDeclined(m_profile.importToolbarOnNo); });
    }
}

void EditorWindow::completeSaveAs(const SaveAsTarget& target,
                                  const std::function<bool(const QString&)>& write,
                                  const QString& refusal) {
    const QString path = QString::fromStdString(target.name);
    if (target.kind == SaveAsKind::Refused) {
        showWarning(QStringLiteral("Filename ERROR!"), refusal);
    } else if (target.kind == SaveAsKind::Png) {
        setFileName(path);
        exportPng(this, m_prompts, m_document.picture(), path, cellKind());
    } else if (target.kind == SaveAsKind::Bitmap) {
        setFileName(path);
        Picture1_Paint(); // the canvas without a rubber band
        exportBitmap(this, m_prompts, Picture1->surface(), path);
    } else if (write(path)) {
        m_session.saved(&target.name); // the format came with the picture written
        applyDocumentState();
        setStatusFileText(QFileInfo(path).fileName());
    }
}

void EditorWindow::miUndo_Click() {
    m_session.undo();
    applyDocumentState();
}

void EditorWindow::miRedo_Click() {
    m_session.redo();
    applyDocumentState();
}

void EditorWindow::miCopy_Click() {
    m_editing->copy(m_document.picture());
}

void EditorWindow::miPaste_Click() {
    takeConversion(
        m_convert->fromClipboard(m_clipboard->contents(), m_document.picture(), cellKind()));
}

void EditorWindow::miConvert_Click() {
    takeConversion(m_convert->fromFile(m_document.picture(), cellKind()));
}

void EditorWindow::takeConversion(const std::optional<PixelGrid>& cells) {
    if (!cells)
        return;
    m_session.replacePicture(*cells, "Conversion");
    changeDocument([](DocumentState& d) { d.importAccepted(); });
    Picture1->setFocus(Qt::OtherFocusReason); // so the next Ctrl+Z takes the conversion back
}

} // namespace core
