#include "core/ui/editor_window.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QImageWriter>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include "core/model/draw_tool.h"
#include "core/model/import_mapping.h"
#include "core/model/number_text.h"
#include "core/model/print_layout.h"
#include "core/ui/file_io.h"
#include "core/ui/info_windows.h"
#include "core/ui/page_setup_dialog.h"
#include "core/ui/picture_import.h"
#include "core/ui/print_backend.h"

namespace core {
namespace {

constexpr int kMinimumZoom = 2;

// Keeps the canvas centred and as large as whole pixels per cell allow.
class CanvasHost : public QWidget {
public:
    CanvasHost(PictureCanvas* canvas, QWidget* parent) : QWidget(parent), m_canvas(canvas) {
        canvas->setParent(this);
        setMouseTracking(true);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    QSize sizeHint() const override {
        return m_canvas->sizeForZoom(m_zoom > 0 ? m_zoom : m_canvas->zoom());
    }
    QSize minimumSizeHint() const override { return m_canvas->sizeForZoom(kMinimumZoom); }

    void setInitialZoom(int zoom) { m_zoom = zoom; }

protected:
    void resizeEvent(QResizeEvent*) override {
        const QSize one = m_canvas->sizeForZoom(1);
        const int fit =
            std::max(kMinimumZoom, std::min(width() / one.width(), height() / one.height()));
        // Grow with the window, but start at the profile's zoom when that fits.
        m_canvas->setZoom(m_zoom > 0 && m_zoom <= fit ? std::max(m_zoom, fit) : fit);
        m_canvas->move((width() - m_canvas->width()) / 2, (height() - m_canvas->height()) / 2);
    }

private:
    PictureCanvas* m_canvas;
    int m_zoom = 0;
};

} // namespace

EditorWindow::EditorWindow(const CalculatorProfile& profile, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent),
      Picture1(new PictureCanvas(profile.rows, profile.columns, profile.defaultZoom)),
      m_profile(profile), m_prompts(prompts), m_grid(profile.rows, profile.columns),
      m_tools(profile, m_grid, *Picture1) {
    setWindowTitle(QString::fromUtf8(profile.appTitle.data(), qsizetype(profile.appTitle.size())));
    endProgram = [] { QApplication::quit(); };
    setWindowIcon(QIcon(aboutArtwork(profile))); // the About picture serves as the icon

    auto* central = new QWidget(this);
    central->setMouseTracking(true);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 0, 4, 4);

    auto* toolbar = new QWidget(central);
    toolbar->setFixedHeight(26);
    toolbar->setMouseTracking(true);
    layout->addWidget(toolbar);

    auto* host = new CanvasHost(Picture1, central);
    host->setInitialZoom(profile.defaultZoom);
    m_canvasHost = host;
    layout->addWidget(host, 1);

    m_fieldsLayout = new QVBoxLayout;
    layout->addLayout(m_fieldsLayout);
    setCentralWidget(central);

    // The picture holder an import shows while it asks; hidden otherwise.
    Picture2 = new QLabel(central);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->hide();

    StatusBar1 = new QStatusBar(this);
    m_panel1 = new QLabel(StatusBar1);
    m_panel2 = new QLabel(StatusBar1);
    m_panel2->setMinimumWidth(110);
    StatusBar1->addWidget(m_panel1, 1);
    StatusBar1->addWidget(m_panel2, 0);
    setStatusBar(StatusBar1);

    createActions();
    createMenus();
    createToolbar(toolbar);

    Picture1->setRepaintHandler([this] {
        Picture1_Paint();
        m_tools.redrawPreview();
    });
    connect(Picture1, &PictureCanvas::mouseDown, this, &EditorWindow::Picture1_MouseDown);
    connect(Picture1, &PictureCanvas::mouseMove, this, &EditorWindow::Picture1_MouseMove);
    connect(Picture1, &PictureCanvas::mouseUp, this, &EditorWindow::Picture1_MouseUp);

    qApp->installEventFilter(this); // see eventFilter: the read-out and the rest of the window
}

EditorWindow::~EditorWindow() {
    Picture1->setRepaintHandler(nullptr);
}

void EditorWindow::createActions() {
    miOpen = new QAction(tr("&Open..."), this);
    miOpen->setShortcut(QKeySequence::Open);
    miSave = new QAction(tr("&Save"), this);
    miSave->setShortcut(QKeySequence::Save);
    miSaveAs = new QAction(tr("Save &As..."), this);
    miSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    miImport = new QAction(tr("&Import..."), this);
    mipgset = new QAction(tr("Page Setup"), this);
    miPrint = new QAction(tr("&Print"), this);
    miPrint->setShortcut(QKeySequence::Print);
    miExit = new QAction(tr("E&xit"), this);
    miExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    miCls = new QAction(tr("&ClrDraw"), this);
    miInstructions = new QAction(tr("&Instructions"), this);
    miInstructions->setShortcut(QKeySequence::HelpContents);
    miAbout = new QAction(tr("&About"), this);

    connect(miOpen, &QAction::triggered, this, [this] { miOpen_click(); });
    connect(miSave, &QAction::triggered, this, [this] { miSave_click(); });
    connect(miSaveAs, &QAction::triggered, this, [this] { miSaveAs_Click(); });
    connect(miImport, &QAction::triggered, this, &EditorWindow::miImport_Click);
    connect(mipgset, &QAction::triggered, this, &EditorWindow::mipgset_Click);
    connect(miPrint, &QAction::triggered, this, &EditorWindow::miPrint_click);
    connect(miExit, &QAction::triggered, this, &EditorWindow::miExit_Click);
    connect(miCls, &QAction::triggered, this, &EditorWindow::miCls_Click);
    connect(miInstructions, &QAction::triggered, this, &EditorWindow::miInstructions_click);
    connect(miAbout, &QAction::triggered, this, &EditorWindow::miAbout_Click);

    for (const DrawToolInfo& info : kDrawTools) {
        auto* item = new QAction(
            QString::fromLatin1(info.caption.data(), qsizetype(info.caption.size())), this);
        item->setCheckable(true);
        const int index = info.number;
        connect(item, &QAction::triggered, this, [this, index] { miTool_Click(index); });
        miTool[index] = item;
    }
}

void EditorWindow::createMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(miOpen);
    file->addAction(miSave);
    file->addAction(miSaveAs);
    file->addAction(miImport);
    file->addSeparator();
    file->addAction(mipgset);
    file->addAction(miPrint);
    file->addSeparator();
    file->addAction(miExit);

    QMenu* draw = menuBar()->addMenu(tr("&Draw"));
    draw->addAction(miCls);
    miTools = draw->addMenu(tr("&Tools..."));
    for (int i = 1; i <= 12; ++i)
        miTools->addAction(miTool[i]);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(miInstructions);
    help->addAction(miAbout);
}

void EditorWindow::createToolbar(QWidget* toolbar) {
    for (int i = 1; i <= 11; ++i) {
        Image[i] = new ToolbarImage(toolbar);
        Image[i]->setObjectName(QStringLiteral("Image%1").arg(i));
    }
    const double twips = twipsPerPixel(this);
    struct Stack {
        int left; // twips
        int cover, raised, pressed;
        ButtonPicture picture;
        const char* tip;
    };
    const Stack stacks[] = {
        {60, 11, 1, 2, ButtonPicture::Open, "Open"},
        {420, 5, 3, 4, ButtonPicture::Save, "Save"},
        {780, 8, 7, 6, ButtonPicture::Print, "Print"},
        {1200, 0, 10, 9, ButtonPicture::Help, "Help"},
    };
    for (const Stack& s : stacks) {
        const QPoint at(int(s.left / twips), int(60 / twips));
        // Between the raised picture and the cover lies a clear area that takes the mouse:
        // it keeps the press when the raised picture hides to show the pressed one, so the
        // release comes back to the button as it does to a real one.
        auto* area = new ToolbarImage(toolbar);
        area->setObjectName(QStringLiteral("%1Button").arg(QLatin1String(s.tip)));
        m_buttonAreas[size_t(s.raised)] = area;
        for (ToolbarImage* image : {Image[s.pressed], Image[s.raised], area, Image[s.cover]}) {
            if (image == Image[0])
                continue;
            image->move(at);
            image->setToolTip(tr(s.tip));
            image->raise(); // later in the stack lies on top
        }
        Image[s.pressed]->setPixmap(toolbarPicture(s.picture, ButtonLook::Pressed));
        Image[s.raised]->setPixmap(toolbarPicture(s.picture, ButtonLook::Raised));
        if (s.cover != 0)
            Image[s.cover]->setPixmap(toolbarPicture(s.picture, ButtonLook::Greyed));
    }
    connectToolbarButton(1, [this] { miOpen_click(); });
    connectToolbarButton(3, [this] {
        if (miSave->isEnabled() && !m_fileName.isEmpty())
            miSave_click();
        else
            miSaveAs_Click();
    });
    connectToolbarButton(7, [this] { miPrint_click(); });
    connectToolbarButton(10, [this] { miInstructions_click(); });
}

void EditorWindow::connectToolbarButton(int raised, std::function<void()> command) {
    ToolbarImage* image = Image[raised];
    ToolbarImage* area = m_buttonAreas[size_t(raised)];
    auto inside = [](double x, double y) { return x >= 0 && x <= 360 && y >= 0 && y <= 330; };
    connect(area, &ToolbarImage::mouseDown, this, [image](int, double, double) { image->hide(); });
    connect(area, &ToolbarImage::mouseMove, this, [image, inside](int buttons, double x, double y) {
        if (buttons & kLeftButton)
            image->setVisible(!inside(x, y));
    });
    connect(area, &ToolbarImage::mouseUp, this, [image, inside, command](int, double x, double y) {
        image->show();
        if (inside(x, y))
            command();
    });
}

void EditorWindow::Form_Load(const QString& commandLine) {
    miSave->setEnabled(false);
    miPrint->setEnabled(false);
    miSaveAs->setEnabled(false);
    Image[5]->show();
    Image[8]->show();
    Image[11]->hide();
    prepareFileImage();
    m_grid.clear();
    Picture1->setEnabled(true);
    m_tools.reset();
    syncToolChecks();
    m_pageSettings = PageSettings{};

    if (const QScreen* screen = this->screen()) {
        // Big enough for the profile's zoom where the screen allows it.
        resize(sizeHint().boundedTo(screen->availableGeometry().size()));
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
    if (!commandLine.isEmpty())
        openCommandLine(commandLine);
}

void EditorWindow::Picture1_Paint() {
    if (!miSaveAs || !miSaveAs->isEnabled())
        return; // no picture yet
    const PictureCanvas::Batch batch(*Picture1);
    Picture1->setForeground(kBlack);
    const double fill = m_profile.cellFill;
    // Row by row, the order the surface lies in memory; the squares never overlap, so the
    // order does not change the picture.
    for (int row = 0; row < m_grid.rows(); ++row) {
        for (int column = 0; column < m_grid.columns(); ++column) {
            if (m_grid.at(row, column) == 1)
                Picture1->fillCell(column, row, fill);
        }
    }
}

void EditorWindow::Picture1_MouseDown(int button, int, double x, double y) {
    if (button == kRightButton) {
        // The pop-up takes the left button's release: a shape being dragged ends here.
        m_tools.cancelDrag();
        m_tools.setAnchor(x, y);
        const QPoint at(int(x * Picture1->zoom()), int(y * Picture1->zoom()));
        miTools->popup(Picture1->mapToGlobal(at)); // not exec(): nothing waits on it
        return;
    }
    m_tools.setAnchor(x, y);
    if (!miPrint->isEnabled())
        m_grid.clear();
    markEdited();
    m_tools.press(x, y);
    syncToolChecks();
}

void EditorWindow::Picture1_MouseMove(int button, int, double x, double y) {
    const int column = cellIndex(x);
    const int row = cellIndex(y);
    m_panel2->setText(QStringLiteral("(%1, %2)")
                          .arg(QString::fromStdString(signedNumber(column)),
                               QString::fromStdString(signedNumber(row))));
    m_tools.drag(button, x, y);
}

void EditorWindow::Picture1_MouseUp(int, int, double, double) {
    m_tools.release();
}

void EditorWindow::Form_MouseMove() {
    m_panel2->clear();
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    // The pointer over any part of this window but the canvas (menu bar, status bar, text
    // boxes, labels, toolbar) empties the read-out. Widgets without mouse tracking get no
    // plain moves, but every one gets Enter.
    const QEvent::Type type = event->type();
    if ((type == QEvent::Enter || type == QEvent::MouseMove) && watched->isWidgetType() &&
        watched != Picture1) {
        const auto* widget = static_cast<QWidget*>(watched);
        if (widget->window() == this)
            Form_MouseMove();
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

void EditorWindow::markEdited() {
    miOpen->setEnabled(false);
    miPrint->setEnabled(true);
    miSaveAs->setEnabled(true);
    Image[5]->hide();
    Image[8]->hide();
    Image[11]->show();
}

void EditorWindow::showReadPicture() {
    miPrint->setEnabled(true);
    miSave->setEnabled(true);
    miSaveAs->setEnabled(true);
    // Save and Print are available now, on the toolbar as in the menu, however the picture
    // came in (Open, the command line or a drop).
    Image[5]->hide();
    Image[8]->hide();
    Picture1->clear();
    m_tools.disarm();
    syncToolChecks();
    Picture1_Paint();
}

void EditorWindow::markSaved() {
    miOpen->setEnabled(true);
    Image[11]->hide();
}

void EditorWindow::miCls_Click() {
    Picture1->clear();
    m_grid.clear();
    miOpen->setEnabled(true);
    miSave->setEnabled(false);
    miSaveAs->setEnabled(false);
    miPrint->setEnabled(false);
    Image[11]->hide();
    Image[5]->show();
    Image[8]->show();
    m_panel1->clear();
    resetTexts();
    m_fileName.clear();
}

void EditorWindow::miExit_Click() {
    exitProgram();
}

bool EditorWindow::exitProgram() {
    if (!miOpen->isEnabled() &&
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

DocumentState EditorWindow::documentState() const {
    return {
        m_fileName,           miOpen->isEnabled(),    miSave->isEnabled(),   miSaveAs->isEnabled(),
        miPrint->isEnabled(), !Image[11]->isHidden(), !Image[5]->isHidden(), !Image[8]->isHidden()};
}

QString EditorWindow::statusFileText() const {
    return m_panel1->text();
}
QString EditorWindow::statusCoordinateText() const {
    return m_panel2->text();
}
void EditorWindow::setStatusFileText(const QString& text) {
    m_panel1->setText(text);
}

void EditorWindow::showFileError(const QString& title, const QString& text) {
    m_prompts.message(this, title, text, MessageIcon::Exclamation, MessageButtons::Ok);
}

void EditorWindow::miPrint_click() {
    if (!printable(m_pageSettings)) {
        m_prompts.message(
            this, windowTitle(),
            tr("The picture cannot be printed where Page Setup puts it: the margins and the "
               "image width must each be at most %1 inches. Nothing was printed.")
                .arg(kLargestPrintInches),
            MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!m_prompts.askPrinter(this, printer))
        return;
    playPage(printer, printPage(m_grid, m_pageSettings)); // failures end silently
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
    frmAbout->exec();
}

void EditorWindow::miInstructions_click() {
    if (!frmHelp)
        frmHelp = new HelpWindow(m_profile, this);
    frmHelp->exec();
}

void EditorWindow::miImport_Click() {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = QStringLiteral("Import a picture");
    request.flags = kFileMustExist | kHideReadOnly;
    // Qt reads more kinds than the four of the first entry; the second offers them.
    request.filter =
        importFilter() +
        QStringLiteral("|Other pictures|*.PNG;*.GIF;*.JPG;*.JPEG;*.PBM;*.PGM;*.PPM;*.XBM");
    request.defaultExtension = QStringLiteral("BMP");
    const FileDialogAnswer answer = m_prompts.askFileName(this, request);
    if (!answer.accepted)
        return;

    // Only the part of the picture the scan can reach is ever rendered.
    const LoadedPicture picture =
        loadPicture(answer.path, QSize(m_profile.columns + 1, m_profile.rows + 1));
    if (!picture.error.isEmpty()) {
        m_prompts.message(this, windowTitle(), QStringLiteral("Error: ") + picture.error,
                          MessageIcon::None, MessageButtons::Ok);
        return;
    }
    // The picture shows over the canvas while the question is asked.
    // Only the part that fits over the canvas is converted for the screen.
    const QSize shown = picture.image.size().boundedTo(m_canvasHost->size());
    Picture2->setPixmap(QPixmap::fromImage(picture.image.copy(QRect(QPoint(0, 0), shown))));
    Picture2->setGeometry(QRect(m_canvasHost->geometry().topLeft(), shown));
    Picture2->raise();
    Picture2->show();
    const QString question = answer.path + QStringLiteral("\n\r\n\r     ...this picture?");
    const Answer reply = m_prompts.message(this, QStringLiteral("Import..."), question,
                                           MessageIcon::None, MessageButtons::YesNo);
    Picture2->hide();
    Picture2->clear();
    if (reply == Answer::Yes) {
        m_fileName.clear();
        miPrint->setEnabled(true);
        miOpen->setEnabled(false);
        miSaveAs->setEnabled(true);
        m_tools.setCurrentTool(kPen);
        syncToolChecks();
        overlayBlackPixels(
            importScan(m_profile, picture.size.width(), picture.size.height()),
            [&](int x, int y) { return isExactlyBlack(picture.image, x, y); },
            [this](int column, int row) { m_tools.PlotCell(column, row); });
    }
    if (reply == Answer::Yes || m_profile.importToolbarOnNo) {
        Image[5]->hide();
        Image[8]->hide();
        Image[11]->show();
    }
}

void EditorWindow::exportBitmap(const QString& path) {
    // The surface holds the zoomed picture at the canvas's size; redraw it from the grid so
    // that no rubber band or stale pixel goes into the file.
    Picture1->clear();
    Picture1_Paint();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    const QString error =
        writer.write(Picture1->surface()) ? writeFileAtomically(path, bytes) : writer.errorString();
    if (!error.isEmpty()) {
        showFileError(windowTitle(), QStringLiteral("The bitmap could not be saved as\n%1\n\n%2")
                                         .arg(QDir::toNativeSeparators(path), error));
        return;
    }
    m_prompts.message(this, windowTitle(), QFileInfo(m_fileName).fileName() + " is saved.",
                      MessageIcon::None, MessageButtons::Ok);
}

} // namespace core
