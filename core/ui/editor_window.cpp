// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/editor_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "core/imaging/picture_conversion_source.h"
#include "core/imaging/picture_writer.h"
#include "core/platform/qt_prompts.h"
#include "core/ui/convert_image_dialog.h"
#include "core/ui/import_command.h"
#include "core/ui/info_windows.h"
#include "core/ui/page_setup_dialog.h"
#include "core/ui/print_backend.h"

namespace core {

EditorWindow::EditorWindow(const CalculatorProfile& profile, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent),
      Picture1(new PictureCanvas(profile.rows, profile.columns, profile.defaultZoom)),
      m_profile(profile), m_prompts(prompts), m_grid(profile.rows, profile.columns),
      m_tools(profile, m_grid, *Picture1) {
    setWindowTitle(QString::fromUtf8(profile.appTitle.data(), qsizetype(profile.appTitle.size())));
    endProgram = [] { QApplication::quit(); };

    auto* central = new QWidget(this);
    central->setMouseTracking(true);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 0, 4, 4);
    toolbar = new Toolbar(central);
    Image = toolbar->Image;
    layout->addWidget(toolbar);
    auto* host = new CanvasHost(Picture1, profile.defaultZoom, central);
    layout->addWidget(host, 1);
    m_fieldsLayout = new QVBoxLayout;
    layout->addLayout(m_fieldsLayout);
    setCentralWidget(central);
    m_import = std::make_unique<ImportCommand>(profile, prompts, host);

    StatusBar1 = new StatusPanels(this);
    setStatusBar(StatusBar1);

    createMenus(this);
    connectMenus();
    toolbar->setCommand(1, [this] { miOpen_click(); });
    toolbar->setCommand(3, [this] {
        if (m_document.save && !m_document.fileName.empty())
            miSave_click();
        else
            miSaveAs_Click();
    });
    toolbar->setCommand(7, [this] { miPrint_click(); });
    toolbar->setCommand(10, [this] { miInstructions_click(); });

    Picture1->setRepaintHandler([this] {
        Picture1_Paint();
        m_tools.redrawPreview();
    });
    connect(Picture1, &PictureCanvas::mouseDown, this, &EditorWindow::Picture1_MouseDown);
    connect(Picture1, &PictureCanvas::mouseMove, this, &EditorWindow::Picture1_MouseMove);
    connect(Picture1, &PictureCanvas::mouseUp, this, &EditorWindow::Picture1_MouseUp);
    qApp->installEventFilter(this); // see eventFilter: the read-out and the rest of the window
    Picture1->setFocusPolicy(Qt::ClickFocus); // a click on the canvas gives Ctrl+Z to the picture
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
    for (int index = 1; index <= 12; ++index)
        connect(miTool[index], &QAction::triggered, this, [this, index] { miTool_Click(index); });
}

void EditorWindow::applyDocumentState() {
    miOpen->setEnabled(m_document.open);
    miSave->setEnabled(m_document.save);
    miSaveAs->setEnabled(m_document.saveAs);
    miPrint->setEnabled(m_document.print);
    Image[11]->setVisible(m_document.image11);
    Image[5]->setVisible(m_document.image5);
    Image[8]->setVisible(m_document.image8);
    miUndo->setEnabled(m_history.canUndo());
    miRedo->setEnabled(m_history.canRedo());
    miCopy->setEnabled(m_document.pictureExists());
    miPaste->setEnabled(m_clipboardHasImage);
}

bool EditorWindow::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    // The icon is set, and the clipboard is watched for Paste: both wait
    // until the first frame is on the screen (under X the clipboard costs round trips to the
    // server, and a zero timer set at start-up still fires before the first paint).
    if (event->type() == QEvent::Paint && !m_firstFrameShown) {
        m_firstFrameShown = true;
        QTimer::singleShot(0, this, [this] {
            setWindowIcon(programIcon(m_profile));
            watchClipboard();
        });
    }
    return handled;
}

void EditorWindow::watchClipboard() {
    if (m_clipboardWatched)
        return;
    m_clipboardWatched = true;
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &EditorWindow::clipboardChanged);
    clipboardChanged(); // what it held before
}

void EditorWindow::clipboardChanged() {
    // Asked only when the clipboard changes: under X each question is a round trip to the
    // clipboard's owner, and reading the image itself would decode it.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    m_clipboardHasImage = data && data->hasImage();
    applyDocumentState();
}

void EditorWindow::changeDocument(const std::function<void(DocumentState&)>& change) {
    change(m_document);
    applyDocumentState();
}

void EditorWindow::setFileName(const QString& name) {
    m_document.rename(name.toStdString());
}

void EditorWindow::Form_Load(const QString& commandLine) {
    changeDocument([](DocumentState& d) { d.startUp(); });
    prepareFileImage();
    m_grid.clear();
    Picture1->setEnabled(true);
    m_tools.reset();
    syncToolChecks();
    m_pageSettings = PageSettings{};
    // Big enough for the profile's zoom where the screen allows it, frame and all, in the
    // screen's middle.
    resize(sizeHint().boundedTo(largestClientSize(this)));
    centreOnScreen(this);
    if (!commandLine.isEmpty())
        openCommandLine(commandLine);
}

void EditorWindow::Picture1_Paint() {
    if (m_document.pictureExists())
        Picture1->rebuild(m_grid, m_profile.cellFill);
}

void EditorWindow::Picture1_MouseDown(int button, int, double x, double y) {
    const PictureCanvas::Batch batch(*Picture1); // one screen update for what the press draws
    if (button == kRightButton) {
        // The pop-up takes the left button's release: a shape being dragged ends here.
        m_tools.cancelDrag();
        m_tools.setAnchor(x, y);
        const QPoint at(int(x * Picture1->zoom()), int(y * Picture1->zoom()));
        miTools->popup(Picture1->mapToGlobal(at)); // not exec(): nothing waits on it
        return;
    }
    m_tools.setAnchor(x, y);
    finishStroke(); // one whose release went elsewhere
    m_strokeBefore = PictureSnapshot::take(m_grid);
    if (!m_document.print)
        m_grid.clear(); // a new picture
    changeDocument([](DocumentState& d) { d.press(); });
    m_tools.press(x, y);
    syncToolChecks();
}

void EditorWindow::Picture1_MouseMove(int button, int, double x, double y) {
    StatusBar1->showCell(cellIndex(x), cellIndex(y));
    const PictureCanvas::Batch batch(*Picture1);
    m_tools.drag(button, x, y);
}

void EditorWindow::Picture1_MouseUp(int, int, double, double) {
    const PictureCanvas::Batch batch(*Picture1);
    m_tools.release();
    finishStroke();
}

void EditorWindow::Form_MouseMove() {
    StatusBar1->clearCell();
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    // The pointer over any part of this window but the canvas (menu bar, status bar, text
    // boxes, labels, toolbar) empties the read-out. Widgets without mouse tracking get no
    // plain moves, but every one gets Enter.
    const QEvent::Type type = event->type();
    if ((type == QEvent::Enter || type == QEvent::MouseMove) && watched->isWidgetType() &&
        watched != Picture1 && static_cast<QWidget*>(watched)->window() == this)
        Form_MouseMove();
    // A text box takes Ctrl+V for itself; with a picture and no text on the clipboard it has
    // nothing to paste, so the key goes to Paste and the picture, wherever the focus is.
    if (type == QEvent::ShortcutOverride && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) && m_clipboardHasImage) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (data && !data->hasText()) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void EditorWindow::changeEvent(QEvent* event) {
    // Another window taking over (a dialog, a switch to another program) ends a shape drag:
    // its release would never reach the canvas.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        m_tools.cancelDrag();
    QMainWindow::changeEvent(event);
}

void EditorWindow::miTool_Click(int index) {
    m_tools.selectTool(static_cast<DrawTool>(index));
    syncToolChecks();
}

void EditorWindow::syncToolChecks() {
    const DrawTool checked = m_tools.checkedTool();
    for (int i = 1; i <= 12; ++i)
        miTool[i]->setChecked(i == checked);
}

void EditorWindow::showReadPicture(const QString& path) {
    m_history.clear(); // a picture read from a file starts a history of its own
    m_strokeBefore.reset();
    changeDocument([&](DocumentState& d) { d.opened(path.toStdString()); });
    m_tools.disarm();
    syncToolChecks();
    Picture1_Paint();
}

void EditorWindow::miCls_Click() {
    if (m_document.pictureExists())
        recordStep();
    Picture1->clear();
    m_grid.clear();
    changeDocument([](DocumentState& d) { d.clearDrawing(); });
    StatusBar1->setFileText(QString());
    resetTexts();
}

void EditorWindow::miExit_Click() {
    exitProgram();
}

bool EditorWindow::exitProgram() {
    if (m_document.unsaved() &&
        !m_prompts.confirmExit(this, QStringLiteral("WARNING!"), exitWarningText()))
        return false;
    // Quitting closes every window again; that close must not ask a second time.
    const QScopedValueRollback ending(m_exitConfirmed, true);
    endProgram();
    return true;
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    // The close box runs the exit command; the window closes only when the program ends.
    event->setAccepted(m_exitConfirmed || exitProgram());
}

void EditorWindow::showWarning(const QString& title, const QString& text) {
    m_prompts.message(this, title, text, MessageIcon::Exclamation, MessageButtons::Ok);
}

void EditorWindow::miPrint_click() {
    printPicture(this, m_prompts, m_grid, m_pageSettings);
}

void EditorWindow::mipgset_Click() {
    if (!pgset)
        pgset = new PageSetupDialog(m_profile, m_pageSettings, this);
    pgset->show();
    pgset->raise();
    pgset->activateWindow();
}

void EditorWindow::miAbout_Click() {
    if (!frmAbout)
        frmAbout = new AboutWindow(m_profile, this);
    m_prompts.showInformation(frmAbout);
}

void EditorWindow::miInstructions_click() {
    if (!frmHelp)
        frmHelp = new HelpWindow(m_profile, this);
    m_prompts.showInformation(frmHelp);
}

void EditorWindow::miImport_Click() {
    const ImportCommand::Result result = m_import->run(importFilter());
    if (result.outcome == ImportCommand::Outcome::Accepted) {
        recordStep();
        changeDocument([](DocumentState& d) { d.importAccepted(); });
        m_tools.setCurrentTool(kPen); // the black pixels are plotted with the pen
        syncToolChecks();
        Picture1->setFocus(Qt::OtherFocusReason);
        m_import->overlay(result.picture,
                          [this](int column, int row) { m_tools.PlotCell(column, row); });
    } else if (result.outcome == ImportCommand::Outcome::Declined) {
        changeDocument([this](DocumentState& d) { d.importDeclined(m_profile.importToolbarOnNo); });
    }
}

void EditorWindow::completeSaveAs(const SaveAsTarget& target,
                                  const std::function<bool(const QString&)>& write,
                                  const QString& refusal) {
    const QString path = QString::fromStdString(target.name);
    switch (target.kind) {
    case SaveAsKind::Bitmap:
        setFileName(path);
        // The surface holds the zoomed picture at the canvas's size; rebuild it from the grid
        // so that no rubber band or stale pixel goes into the file.
        Picture1_Paint();
        exportPicture(Picture1->surface(), path, "bmp", tr("The bitmap could not be saved as"));
        break;
    case SaveAsKind::Png:
        setFileName(path);
        // One pixel per calculator pixel, black on white, as the calculator shows it.
        exportPicture(gridImage(m_grid), path, "png", tr("The PNG picture could not be saved as"));
        break;
    case SaveAsKind::Calculator:
        if (write(path)) {
            changeDocument([&](DocumentState& d) { d.savedAs(target.name); });
            setStatusFileText(QFileInfo(path).fileName());
        }
        break;
    case SaveAsKind::Refused:
        showWarning(QStringLiteral("Filename ERROR!"), refusal);
        break;
    }
}

void EditorWindow::exportPicture(const QImage& image, const QString& path, const char* format,
                                 const QString& failure) {
    const QString error = writePicture(image, path, format);
    if (!error.isEmpty()) {
        showWarning(
            windowTitle(),
            QStringLiteral("%1\n%2\n\n%3").arg(failure, QDir::toNativeSeparators(path), error));
        return;
    }
    m_prompts.message(this, windowTitle(), QFileInfo(fileName()).fileName() + " is saved.",
                      MessageIcon::None, MessageButtons::Ok);
}

void EditorWindow::restore(const PictureSnapshot& picture) {
    picture.restore(m_grid);
    changeDocument([](DocumentState& d) { d.restored(); });
    Picture1_Paint();
}

void EditorWindow::recordStep() {
    endGesture();
    m_history.record(PictureSnapshot::take(m_grid));
    applyDocumentState();
}

void EditorWindow::endGesture() {
    m_tools.endGesture();
    finishStroke();
}

void EditorWindow::finishStroke() {
    if (!m_strokeBefore)
        return;
    if (!m_strokeBefore->samePicture(m_grid))
        m_history.record(std::move(*m_strokeBefore));
    m_strokeBefore.reset();
    applyDocumentState();
}

void EditorWindow::miUndo_Click() {
    endGesture();
    if (m_history.canUndo())
        restore(m_history.undo(PictureSnapshot::take(m_grid)));
}

void EditorWindow::miRedo_Click() {
    endGesture();
    if (m_history.canRedo())
        restore(m_history.redo(PictureSnapshot::take(m_grid)));
}

void EditorWindow::miCopy_Click() {
    watchClipboard();
    QGuiApplication::clipboard()->setImage(gridImage(m_grid).convertToFormat(QImage::Format_RGB32));
}

void EditorWindow::miPaste_Click() {
    watchClipboard();
    const QImage image = QGuiApplication::clipboard()->image();
    if (!image.isNull())
        convert(image);
}

void EditorWindow::miConvert_Click() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = tr("Convert Image");
    request.flags = kFileMustExist | kHideReadOnly;
    request.filter = convertibleFilter();
    const FileDialogAnswer answer = m_prompts.askFileName(this, request);
    if (!answer.accepted)
        return;
    QString error;
    const QImage picture = readPictureToConvert(answer.path, &error);
    if (picture.isNull()) {
        showWarning(windowTitle(), tr("%1 cannot be converted:\n%2\n\nNothing was changed.")
                                       .arg(QDir::toNativeSeparators(answer.path), error));
        return;
    }
    convert(picture);
}

void EditorWindow::convert(const QImage& picture) {
    ConvertImageDialog dialog(m_profile, picture, m_grid, this);
    if (!m_prompts.runDialog(&dialog))
        return;
    recordStep();
    m_grid = dialog.result();
    changeDocument([](DocumentState& d) { d.importAccepted(); });
    Picture1->setFocus(Qt::OtherFocusReason); // so the next Ctrl+Z takes the conversion back
    Picture1_Paint();
}

} // namespace core
