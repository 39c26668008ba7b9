// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "dotwell/frm_dotwell.h"

#include <algorithm>

#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "core/formats/format_texts.h"
#include "core/imaging/file_io.h"
#include "core/model/codepage.h"
#include "core/ui/file_drop.h"
#include "core/ui/format_dialogs.h"
#include "core/ui/ink_choosers.h"
#include "core/ui/text_fields.h"

namespace dotwell {
namespace {

const QString kCommentOfANewPicture = QString::fromLatin1(core::kTi83DefaultComment);
const QString kImageErrorTitle = QStringLiteral("82/3 Image Error");

// The file dialogs: the calculator formats from the registry, "All Files" second in Open,
// Bitmaps third and PNG images fifth in Save As.
const core::FormatDialogs& dialogs() {
    static const core::FormatDialogs instance(
        core::Program::Dotwell, {{2, "All Files|*.*"}},
        {{{3, "Bitmaps (*.bmp)|*.bmp"}, "bmp", core::SaveAsKind::Bitmap},
         {{5, "PNG images (*.png)|*.png"}, "png", core::SaveAsKind::Png}});
    return instance;
}

// The name without its folder, as messages and the status bar show it.
QString titleOf(const QString& path) {
    return core::displayFileName(QFileInfo(path).fileName());
}

// "82i", "83i"... or with dots.
std::vector<std::string> dotwellExtensions(bool dots) {
    return core::extensions(
        [](const core::FormatDescriptor& f) {
            return core::editorOpens(f, core::Program::Dotwell);
        },
        dots);
}

} // namespace

FrmDotwell::FrmDotwell(core::Prompts& prompts, QWidget* parent)
    : core::EditorWindow(core::CalculatorProfile::dotwell(), prompts, parent) {
    InkRow = new QWidget(this);
    auto* inkRow = new QHBoxLayout(InkRow);
    inkRow->setContentsMargins(0, 0, 0, 0);
    auto* inkLabel = new QLabel(tr("Colour:"), InkRow);
    Palette = new core::PaletteBar(InkRow);
    Colours = new core::ColourChooser(prompts, InkRow);
    inkLabel->setBuddy(Palette);
    inkRow->addWidget(inkLabel);
    inkRow->addWidget(Palette);
    inkRow->addWidget(Colours);
    inkRow->addStretch(1);
    fieldsLayout()->addWidget(InkRow);
    InkRow->hide();
    for (core::SwatchRow* chooser :
         {static_cast<core::SwatchRow*>(Palette), static_cast<core::SwatchRow*>(Colours)})
        chooser->setFocusPolicy(Qt::ClickFocus); // the canvas keeps the keys while drawing
    connect(Palette, &core::PaletteBar::inkChosen, this,
            [this](std::int16_t ink) { tools().setInk(ink); });
    connect(Colours, &core::ColourChooser::inkChosen, this,
            [this](std::int16_t ink) { tools().setInk(ink); });

    auto* row = new QHBoxLayout;
    auto* commentLabel = new QLabel(tr("Comment:"), this);
    Text1 = new QLineEdit(kCommentOfANewPicture, this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setValidator(new core::Windows1252Validator(Text1));
    Text1->setToolTip(tr("Stored in the computer file only"));
    commentLabel->setBuddy(Text1);
    // The document holds the text; the box shows it.
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (const auto bytes = core::commentBytes(text))
            document().texts().comment = *bytes;
    });
    document().texts().comment = std::string(core::kTi83DefaultComment);
    row->addWidget(commentLabel);
    row->addWidget(Text1, 1);
    fieldsLayout()->addLayout(row);

    Frame1 = new QGroupBox(QStringLiteral("PIC"), this);
    const QString tip = QStringLiteral("Pic Var (use 7..0 for TI-83 only)");
    Frame1->setToolTip(tip);
    auto* options = new QHBoxLayout(Frame1);
    for (int index = 1; index <= 10; ++index) {
        auto* option = new QRadioButton(QString::number(index % 10), Frame1);
        option->setToolTip(tip);
        options->addWidget(option);
        Option1[index] = option;
        connect(option, &QRadioButton::toggled, this, [this, index](bool on) {
            if (on)
                Option1_Click(index);
        });
    }
    fieldsLayout()->addWidget(Frame1);

    // A TI-85 or TI-86 picture has a name where the others have a PIC number.
    NameRow = new QWidget(this);
    auto* nameRow = new QHBoxLayout(NameRow);
    nameRow->setContentsMargins(0, 0, 0, 0);
    auto* nameLabel = new QLabel(tr("Pic Var Name:"), NameRow);
    Text2 = new QLineEdit(NameRow);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setMaxLength(8);
    Text2->setToolTip(tr("in the calculator: 1 to 8 letters and digits"));
    nameLabel->setBuddy(Text2);
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(Text2, 1);
    fieldsLayout()->addWidget(NameRow);
    NameRow->hide();
    connect(Text2, &QLineEdit::textChanged, this,
            [this](const QString& text) { document().texts().variable = core::toU32(text); });

    new core::FileDropWatch(Picture1, [this](const QString& path) { Picture1_OLEDragDrop(path); });
}

void FrmDotwell::documentFormatChanged() {
    const bool named = core::formatOf(document().format()).family == core::Family::Ti85;
    NameRow->setVisible(named);
    Frame1->setVisible(!named);
    const core::CellKind kind = cellKind();
    InkRow->setVisible(kind != core::CellKind::Monochrome);
    Palette->setVisible(kind == core::CellKind::Palette);
    Colours->setVisible(kind == core::CellKind::Rgb565);
    if (kind == core::CellKind::Palette)
        Palette->setInk(tools().ink());
    else if (kind == core::CellKind::Rgb565)
        Colours->setInk(tools().ink());
    Frame1->setTitle(kind == core::CellKind::Rgb565 ? QStringLiteral("Image")
                                                    : QStringLiteral("PIC"));
}

void FrmDotwell::newFile(core::FormatId format) {
    m_file = core::newPicture(format);
    Text2->setText(core::fromU32(m_file.variable));
    const QSignalBlocker blocker(Option1[1]); // the new file image is for Pic1
    Option1[1]->setChecked(true);
}

int FrmDotwell::selectedOption() const {
    for (int index = 1; index <= 10; ++index) {
        if (Option1[index]->isChecked())
            return index;
    }
    return 1;
}

void FrmDotwell::prepareFileImage() {
    m_file = core::newPicture(core::FormatId::Ti82);
    const QSignalBlocker blocker(Option1[1]); // the template is already for Pic1
    Option1[1]->setChecked(true);
}

void FrmDotwell::Option1_Click(int index) {
    m_file.buffer.applyTemplate(index - 1);
}

QString FrmDotwell::exitWarningText() const {
    std::vector<std::string> formats = dotwellExtensions(false);
    for (std::string& f : formats)
        std::transform(f.begin(), f.end(), f.begin(), ::toupper);
    return QStringLiteral("Picture NOT saved as %1. Press OK to quit or Cancel to return to "
                          "drawing.")
        .arg(QString::fromStdString(core::joinedList(formats, "or")));
}

QString FrmDotwell::importFilter() const {
    return QStringLiteral("Readable Files|*.BMP;*.ICO;*.RLE;*.WMF");
}

void FrmDotwell::resetTexts() {
    Text1->setText(kCommentOfANewPicture);
    m_file.archived = false; // ClrDraw starts a new picture, kept in RAM
}

bool FrmDotwell::openPictureFile(const QString& path) {
    // Everything is read and checked before anything on screen changes.
    const core::FileRead read = core::readFileHead(path, qint64(core::kLongestPictureFile));
    if (!read.error.isEmpty()) {
        showWarning(kImageErrorTitle,
                    tr("Cannot open %1:\n%2").arg(core::displayFileName(path), read.error));
        return false;
    }
    const std::string_view bytes(read.bytes.constData(), size_t(read.bytes.size()));
    auto opened = core::readPicture(bytes, dialogs().formatOf(path)->id);
    const core::FormatId format = dialogs().formatOf(path)->id;
    const bool later = format != core::FormatId::Ti82 && format != core::FormatId::Ti83 &&
                       format != core::FormatId::Ti83Plus;
    if (const auto* error = std::get_if<core::ReadError>(&opened); error && later) {
        // The later calculators' files say what is wrong with them.
        showWarning(kImageErrorTitle,
                    tr("%1 cannot be opened: %2. Nothing was opened.")
                        .arg(titleOf(path), QString::fromStdString(error->reason)));
        return false;
    }
    if (const auto* error = std::get_if<core::ReadError>(&opened)) {
        switch (error->kind) {
        case core::ReadFailure::Invalid:
            prompts().message(this, kImageErrorTitle, QStringLiteral("Invalid File Format!"),
                              core::MessageIcon::Exclamation, core::MessageButtons::Ok);
            break;
        case core::ReadFailure::TooShort:
            showWarning(kImageErrorTitle, tr("%1 is too short to hold a TI-82/83 picture; it "
                                             "may be damaged. Nothing was opened.")
                                              .arg(titleOf(path)));
            break;
        case core::ReadFailure::BadPicNumber:
            showWarning(kImageErrorTitle,
                        tr("%1 is not a TI-82/83 picture: its PIC number byte is %2, not 0 to 9.")
                            .arg(titleOf(path))
                            .arg(std::uint8_t(bytes[core::PicFileBuffer::kPicNumberOffset])));
            break;
        }
        return false;
    }
    m_file = std::move(std::get<core::CalculatorPicture>(opened));
    // The box shows the comment up to its NUL; the bytes after it stay in the buffer.
    Text1->setText(core::commentText(m_file.comment));
    if (m_file.family == core::Family::Ti85) {
        Text2->setText(core::fromU32(m_file.variable));
    } else {
        // Selecting a different option re-applies the header template; the same one does not.
        Option1[m_file.buffer.picNumber() + 1]->setChecked(true);
    }
    showReadPicture(path, m_file.grid, m_file.format);
    setStatusFileText(titleOf(path));
    return true;
}

void FrmDotwell::openCommandLine(const QString& commandLine) {
    if (!dialogs().formatOf(commandLine)) {
        prompts().message(this, windowTitle(), QStringLiteral("Invalid File Format!"),
                          core::MessageIcon::Exclamation, core::MessageButtons::Ok);
        return;
    }
    openPictureFile(commandLine);
}

void FrmDotwell::miOpen_click() {
    core::FileDialogRequest request;
    request.kind = core::FileDialogRequest::Kind::Open;
    request.title = QStringLiteral("Open an 82I or 83I file...");
    request.flags = core::kFileMustExist | core::kHideReadOnly;
    request.filter = dialogs().openFilter();
    request.defaultExtension = QStringLiteral("82I");
    const core::FileDialogAnswer answer = prompts().askFileName(this, request);
    if (!answer.accepted)
        return;
    if (!dialogs().formatOf(answer.path)) {
        setFileName(answer.path);
        prompts().message(this, kImageErrorTitle, QStringLiteral("Invalid File Format!"),
                          core::MessageIcon::Exclamation, core::MessageButtons::Ok);
        return;
    }
    openPictureFile(answer.path);
}

void FrmDotwell::Picture1_OLEDragDrop(const QString& path) {
    // Open's rules, except that a refused name does not become the document's: the picture on
    // the canvas keeps its own.
    if (!dialogs().formatOf(path)) {
        prompts().message(this, kImageErrorTitle, QStringLiteral("Invalid File Format!"),
                          core::MessageIcon::Exclamation, core::MessageButtons::Ok);
        return;
    }
    if (!dropMayReplaceDrawing(path))
        return;
    openPictureFile(path);
}

bool FrmDotwell::picNumberRefused(const QString& name) {
    const core::FormatDescriptor* format = dialogs().formatOf(name);
    if (!format || format->picNumbers == 0 || core::picAllowed(*format, selectedOption() - 1))
        return false;
    prompts().message(this, QStringLiteral("PIC VAR ERROR!"),
                      QStringLiteral("OOPS! TI-82 PIC variable must be 1..6"),
                      core::MessageIcon::Exclamation, core::MessageButtons::Ok);
    return true;
}

bool FrmDotwell::writePictureFile(const QString& path) {
    const auto comment = core::commentBytes(Text1->text());
    if (!comment) {
        showWarning(windowTitle(), tr("The comment holds a character that a TI-82/83 file "
                                      "cannot store. Change the comment and save again."));
        return false;
    }
    const core::FormatId format = dialogs().formatOf(path)->id;
    const std::optional<core::PixelGrid> fitted = pictureFor(format);
    if (!fitted)
        return false;
    m_file.comment = document().texts().comment;
    m_file.grid = *fitted;
    // A picture with a PIC number keeps it as its name on a TI-85 or TI-86: Pic3.
    m_file.variable = document().texts().variable.empty()
                          ? core::toU32(QStringLiteral("Pic%1").arg(selectedOption() % 10))
                          : document().texts().variable;
    const auto written = core::writePicture(m_file, format);
    if (const auto* refusal = std::get_if<std::string>(&written)) {
        showWarning(windowTitle(), QString::fromStdString(*refusal));
        return false;
    }
    const auto& bytes = std::get<std::vector<std::uint8_t>>(written);
    const QString error = core::writeFileAtomically(
        path, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    if (!error.isEmpty()) {
        showWarning(windowTitle(),
                    tr("Cannot save %1:\n%2").arg(core::displayFileName(path), error));
        return false;
    }
    savedAtSize(*fitted, format);
    return true;
}

void FrmDotwell::miSave_click() {
    // Never put a calculator image into a bitmap, an empty name or any other kind of file.
    if (!dialogs().formatOf(fileName())) {
        miSaveAs_Click();
        return;
    }
    if (picNumberRefused(fileName()))
        return;
    if (writePictureFile(fileName()))
        pictureSaved();
}

void FrmDotwell::miSaveAs_Click() {
    const core::FileDialogRequest request =
        dialogs().saveAsRequest(QStringLiteral("Dotwell Save As..."), QStringLiteral("82i"),
                                QStringLiteral("*.82i"), document().format());
    const core::FileDialogAnswer answer = prompts().askFileName(this, request);
    if (!answer.accepted)
        return;

    const core::SaveAsTarget target =
        core::saveAsTarget(dialogs().naming(), answer.path.toStdString(), answer.filterIndex);
    const QString path = QString::fromStdString(target.name);
    if (picNumberRefused(path)) {
        setFileName(QString());
        return;
    }
    completeSaveAs(
        target, [this](const QString& file) { return writePictureFile(file); },
        tr("Invalid Filename: use a name ending in %1, or .bmp or .png for a picture. Nothing "
           "was saved.")
            .arg(QString::fromStdString(core::joinedList(dotwellExtensions(true), "or"))));
}

} // namespace dotwell
