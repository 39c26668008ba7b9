// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "pixvane/frm_pixvane.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "core/formats/format_registry.h"
#include "core/formats/ti68k_names.h"
#include "core/formats/ti92_picture_file.h"
#include "core/imaging/file_io.h"
#include "core/ui/file_drop.h"
#include "core/ui/format_dialogs.h"
#include "core/ui/text_fields.h"

namespace pixvane {
namespace {

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}
const QString kNewComment = latin1(core::kTi92DefaultComment);
const QString kNewVariable = latin1(core::kTi92DefaultVariable);
const QString kNewFolder = latin1(core::kTi92DefaultFolder);

// The file dialogs: the calculator formats from the registry, Bitmaps second and PNG images
// fifth in Save As.
const core::FormatDialogs& dialogs() {
    static const core::FormatDialogs instance(
        core::Program::Pixvane, {},
        {{{2, "Bitmaps (*.bmp)|*.bmp"}, "bmp", core::SaveAsKind::Bitmap},
         {{5, "PNG images (*.png)|*.png"}, "png", core::SaveAsKind::Png}});
    return instance;
}

// A TI-92, TI-92 Plus or Voyage 200 picture's name.
bool hasTi92Extension(const QString& name) {
    return dialogs().formatOf(name) != nullptr;
}

// The name without its folder, as messages and the status bar show it.
QString titleOf(const QString& path) {
    return core::displayFileName(QFileInfo(path).fileName());
}

// The calculator whose picture file starts with this signature, when it is not one pixvane
// opens: a file of another calculator is intact, only not for pixvane.
QString otherCalculator(const QByteArray& head) {
    const std::string_view bytes(head.constData(), size_t(head.size()));
    const core::FormatDescriptor* format = core::formatForContent(bytes);
    const std::string_view model =
        format && format->program != core::Program::Pixvane ? format->calculators : "";
    return QString::fromLatin1(model.data(), qsizetype(model.size()));
}

} // namespace

FrmPixvane::FrmPixvane(core::Prompts& prompts, QWidget* parent)
    : core::EditorWindow(core::CalculatorProfile::pixvane(), prompts, parent) {
    auto* grid = new QGridLayout;
    auto box = [&](const QString& label, const QString& text, int maxLength, const QString& tip,
                   int row, int column) {
        auto* caption = new QLabel(label, this);
        auto* edit = new QLineEdit(text, this);
        edit->setMaxLength(maxLength);
        edit->setToolTip(tip);
        caption->setBuddy(edit);
        grid->addWidget(caption, row, column);
        grid->addWidget(edit, row, column + 1);
        return edit;
    };
    Text3 = box(tr("Folder:"), kNewFolder, 8, QStringLiteral("in the calculator"), 0, 0);
    Text2 = box(tr("Pic Var Name:"), kNewVariable, 8, QStringLiteral("in the calculator"), 0, 2);
    Text1 = box(tr("Comment:"), kNewComment, 40, QStringLiteral("(max length=40)"), 1, 0);
    grid->removeWidget(Text1);
    grid->addWidget(Text1, 1, 1, 1, 3);
    Text1->setValidator(new core::Windows1252Validator(Text1));
    Text1->setObjectName(QStringLiteral("Text1"));
    Text2->setObjectName(QStringLiteral("Text2"));
    Text3->setObjectName(QStringLiteral("Text3"));
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    fieldsLayout()->addLayout(grid);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    fieldsLayout()->addWidget(Label2);

    // The document holds the texts; the boxes show them.
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (const auto bytes = core::commentBytes(text))
            document().texts().comment = *bytes;
    });
    connect(Text2, &QLineEdit::textChanged, this,
            [this](const QString& text) { document().texts().variable = core::toU32(text); });
    connect(Text3, &QLineEdit::textChanged, this,
            [this](const QString& text) { document().texts().folder = core::toU32(text); });
    document().texts() = {std::string(core::kTi92DefaultComment), core::toU32(kNewFolder),
                          core::toU32(kNewVariable)};
    connect(Text2, &QLineEdit::textChanged, this, &FrmPixvane::Text2_Change);
    connect(Text3, &QLineEdit::textChanged, this, &FrmPixvane::Text3_Change);
    connect(Picture1, &core::PictureCanvas::mouseMove, this,
            [this] { Label2->setText(tr("Left button draws; right button chooses a tool.")); });

    new core::FileDropWatch(Picture1, [this](const QString& path) { Picture1_OLEDragDrop(path); });
}

QString FrmPixvane::exitWarningText() const {
    return QStringLiteral(
        "Picture NOT saved as 92I. Press OK to quit or Cancel to return to drawing.");
}

QString FrmPixvane::importFilter() const {
    return QStringLiteral("Readable files|*.BMP;*.ICO;*.RLE;*.WMF");
}

void FrmPixvane::resetTexts() {
    m_file.attribute = 0; // ClrDraw starts a new picture, neither locked nor archived
    Text1->setText(kNewComment);
    Text2->setText(kNewVariable);
    Text3->setText(kNewFolder);
}

void FrmPixvane::Form_MouseMove() {
    core::EditorWindow::Form_MouseMove();
    Label2->clear();
}

bool FrmPixvane::showVerdict(const QString& name, bool variable) {
    const core::NameVerdict verdict = core::checkName(
        core::toU32(name), variable ? core::NameKind::Variable : core::NameKind::Folder);
    if (!verdict.ok) {
        prompts().message(this, core::fromU32(verdict.title), core::fromU32(verdict.message),
                          core::MessageIcon::Exclamation, core::MessageButtons::Ok);
    }
    return verdict.ok;
}

bool FrmPixvane::CheckVarName() {
    return showVerdict(Text2->text(), true);
}
bool FrmPixvane::CheckFolderName() {
    return showVerdict(Text3->text(), false);
}
void FrmPixvane::Text2_Change() {
    CheckVarName();
}
void FrmPixvane::Text3_Change() {
    CheckFolderName();
}

bool FrmPixvane::ReadPictureFile(const QString& path) {
    // Read and decode into temporaries; the editor changes only after a complete read.
    const core::FileRead read = core::readFileHead(path, qint64(core::kLongestPictureFile));
    if (!read.error.isEmpty()) {
        prompts().message(this, windowTitle(),
                          tr("Cannot open %1:\n%2").arg(core::displayFileName(path), read.error),
                          core::MessageIcon::Exclamation, core::MessageButtons::Ok);
        return false;
    }
    // Any 68k layout reads the same; a name from the command line need not say which.
    const core::FormatDescriptor* format = dialogs().formatOf(path);
    const auto result =
        core::readPicture(std::string_view(read.bytes.constData(), size_t(read.bytes.size())),
                          format ? format->id : core::FormatId::Ti92);
    if (std::holds_alternative<core::ReadError>(result)) {
        const QString model = otherCalculator(read.bytes);
        prompts().message(
            this, windowTitle(),
            model.isEmpty()
                ? tr("%1 is too short to hold the picture it describes; it may be "
                     "damaged. Nothing was opened.")
                      .arg(titleOf(path))
                : tr("%1 is a %2 picture, which pixvane does not open.").arg(titleOf(path), model),
            core::MessageIcon::Exclamation, core::MessageButtons::Ok);
        return false;
    }
    const core::CalculatorPicture& picture = std::get<core::CalculatorPicture>(result);
    const core::FormatDescriptor& kind = core::formatOf(picture.format);
    if (picture.pictureRows > kind.largest.rows || picture.pictureColumns > kind.largest.columns) {
        prompts().message(
            this, windowTitle(),
            tr("%1 holds a picture of %2 x %3 pixels, larger than the %4 x %5 screen of the %6. "
               "Nothing was opened.")
                .arg(titleOf(path))
                .arg(picture.pictureColumns)
                .arg(picture.pictureRows)
                .arg(kind.largest.columns)
                .arg(kind.largest.rows)
                .arg(QString::fromLatin1(kind.calculators.data(), qsizetype(kind.calculators.size()))),
            core::MessageIcon::Exclamation, core::MessageButtons::Ok);
        return false;
    }

    m_file = picture;
    setStatusFileText(titleOf(path));
    Text1->setText(core::commentText(picture.comment));
    Text3->setText(core::fromU32(picture.folder));
    Text2->setText(core::fromU32(picture.variable));
    m_variableName = Text2->text();
    showReadPicture(path, picture.grid, picture.format);
    return true;
}

void FrmPixvane::openCommandLine(const QString& commandLine) {
    setWindowTitle(
        QString::fromUtf8(profile().appTitle.data(), qsizetype(profile().appTitle.size())));
    ReadPictureFile(commandLine);
}

void FrmPixvane::miOpen_click() {
    core::FileDialogRequest request;
    request.kind = core::FileDialogRequest::Kind::Open;
    request.title = QStringLiteral("Pixvane Open");
    request.filter = dialogs().openFilter();
    request.defaultExtension = QStringLiteral("92I");
    request.flags = core::kFileMustExist | core::kHideReadOnly;
    const core::FileDialogAnswer answer = prompts().askFileName(this, request);
    if (!answer.accepted)
        return;
    if (!hasTi92Extension(answer.path)) {
        prompts().message(this, windowTitle(), QStringLiteral("Not a 92I File!"),
                          core::MessageIcon::Exclamation, core::MessageButtons::Ok);
        return;
    }
    ReadPictureFile(answer.path);
}

bool FrmPixvane::writePictureFile(const QString& path) {
    const core::DocumentTexts& texts = document().texts();
    const auto comment = core::commentBytes(Text1->text());
    if (!comment || !core::encodeTi92(texts.folder) || !core::encodeTi92(texts.variable)) {
        prompts().message(this, windowTitle(),
                          tr("The comment holds a character that a .92i file cannot store. "
                             "Change it and save again."),
                          core::MessageIcon::Exclamation, core::MessageButtons::Ok);
        return false;
    }
    const core::FormatId format = dialogs().formatOf(path)->id;
    const std::optional<core::PixelGrid> fitted = pictureFor(format);
    if (!fitted)
        return false;
    core::CalculatorPicture picture = m_file;
    picture.comment = texts.comment;
    picture.folder = texts.folder;
    picture.variable = texts.variable;
    picture.grid = *fitted;
    const auto written = core::writePicture(picture, format);
    if (const auto* refusal = std::get_if<std::string>(&written)) {
        prompts().message(this, windowTitle(), QString::fromStdString(*refusal),
                          core::MessageIcon::Exclamation, core::MessageButtons::Ok);
        return false;
    }
    const auto& file = std::get<std::vector<std::uint8_t>>(written);
    const QString error = core::writeFileAtomically(
        path, QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size())));
    if (!error.isEmpty()) {
        // The program's message, then which file and why.
        prompts().message(
            this, windowTitle(),
            QStringLiteral("Disk write error\n\n%1:\n%2").arg(core::displayFileName(path), error),
            core::MessageIcon::Exclamation, core::MessageButtons::Ok);
        return false;
    }
    savedAtSize(*fitted, format);
    return true;
}

void FrmPixvane::newFile(core::FormatId format) {
    m_file = core::newPicture(format);
}

void FrmPixvane::miSave_click() {
    // Never write a calculator image into a file of another kind.
    if (!hasTi92Extension(fileName())) {
        miSaveAs_Click();
        return;
    }
    m_variableName = Text2->text();
    const bool variableOk = CheckVarName();
    const bool folderOk = CheckFolderName();
    if (!variableOk || !folderOk)
        return;
    if (writePictureFile(fileName()))
        pictureSaved();
}

void FrmPixvane::miSaveAs_Click() {
    m_variableName = Text2->text();
    const bool variableOk = CheckVarName();
    const bool folderOk = CheckFolderName();
    if (!variableOk || !folderOk)
        return;

    const core::FileDialogRequest request =
        dialogs().saveAsRequest(QStringLiteral("Pixvane Save As..."), QStringLiteral("92I"),
                                QStringLiteral("*.92I"), document().format());
    const core::FileDialogAnswer answer = prompts().askFileName(this, request);
    if (!answer.accepted)
        return;

    const core::SaveAsTarget target =
        core::saveAsTarget(dialogs().naming(), answer.path.toStdString(), answer.filterIndex);
    completeSaveAs(
        target, [this](const QString& file) { return writePictureFile(file); },
        QStringLiteral("Invalid Filename: Use *.92I"));
}

void FrmPixvane::Picture1_OLEDragDrop(const QString& path) {
    if (!hasTi92Extension(path)) {
        prompts().message(this, QStringLiteral("Drag/Drop Error"),
                          QStringLiteral("Oops! The filename must have a '92i' extension."),
                          core::MessageIcon::Exclamation, core::MessageButtons::Ok);
        return;
    }
    if (!dropMayReplaceDrawing(path))
        return;
    ReadPictureFile(path);
}

} // namespace pixvane
