// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "dotwell/frm_dotwell.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "core/imaging/file_io.h"
#include "core/model/codepage.h"
#include "core/model/save_as_naming.h"
#include "core/ui/text_fields.h"
#include "dotwell/ti83plus_picture_file.h"

namespace dotwell {
namespace {

const QString kCommentOfANewPicture = QString::fromLatin1(kDefaultComment);
const QString kImageErrorTitle = QStringLiteral("82/3 Image Error");

// Save As: the calculator files (entries 1, 2 and 4), Bitmaps (3) and PNG images (5).
const core::SaveAsNaming kSaveAsNaming{
    {"82I", "83I", "8XI"},
    {{3, "bmp", core::SaveAsKind::Bitmap}, {5, "png", core::SaveAsKind::Png}}};

std::string latin(const QString& name) {
    return name.toStdString();
}

// The name without its folder, as messages and the status bar show it.
QString titleOf(const QString& path) {
    return core::displayFileName(QFileInfo(path).fileName());
}

} // namespace

FrmDotwell::FrmDotwell(core::Prompts& prompts, QWidget* parent)
    : core::EditorWindow(core::CalculatorProfile::dotwell(), prompts, parent) {
    auto* row = new QHBoxLayout;
    auto* commentLabel = new QLabel(tr("Comment:"), this);
    Text1 = new QLineEdit(kCommentOfANewPicture, this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setValidator(new core::Windows1252Validator(Text1));
    Text1->setToolTip(tr("Stored in the computer file only"));
    commentLabel->setBuddy(Text1);
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
}

int FrmDotwell::selectedOption() const {
    for (int index = 1; index <= 10; ++index) {
        if (Option1[index]->isChecked())
            return index;
    }
    return 1;
}

void FrmDotwell::prepareFileImage() {
    m_buffer = PicFileBuffer();
    const QSignalBlocker blocker(Option1[1]); // the template is already for Pic1
    Option1[1]->setChecked(true);
}

void FrmDotwell::Option1_Click(int index) {
    m_buffer.applyTemplate(index - 1);
}

QString FrmDotwell::exitWarningText() const {
    return QStringLiteral(
        "Picture NOT saved as 82I, 83I or 8XI. Press OK to quit or Cancel to return to drawing.");
}

QString FrmDotwell::importFilter() const {
    return QStringLiteral("Readable Files|*.BMP;*.ICO;*.RLE;*.WMF");
}

void FrmDotwell::resetTexts() {
    Text1->setText(kCommentOfANewPicture);
    m_archived = false; // ClrDraw starts a new picture, which a .8xi stores in RAM
}

bool FrmDotwell::openPictureFile(const QString& path) {
    // Everything is read and checked before anything on screen changes.
    const core::FileRead read = core::readFileHead(path, kTi83PlusFileSize);
    if (!read.error.isEmpty()) {
        showWarning(kImageErrorTitle,
                    tr("Cannot open %1:\n%2").arg(core::displayFileName(path), read.error));
        return false;
    }
    const std::string_view bytes(read.bytes.constData(), size_t(read.bytes.size()));
    const auto opened = openPictureBytes(bytes, latin(titleOf(path)));
    if (const auto* error = std::get_if<OpenError>(&opened)) {
        switch (*error) {
        case OpenError::Invalid8xi:
            prompts().message(this, kImageErrorTitle, QStringLiteral("Invalid File Format!"),
                              core::MessageIcon::Exclamation, core::MessageButtons::Ok);
            break;
        case OpenError::TooShort:
            showWarning(kImageErrorTitle, tr("%1 is too short to hold a TI-82/83 picture; it "
                                             "may be damaged. Nothing was opened.")
                                              .arg(titleOf(path)));
            break;
        case OpenError::BadPicNumber:
            showWarning(kImageErrorTitle,
                        tr("%1 is not a TI-82/83 picture: its PIC number byte is %2, not 0 to 9.")
                            .arg(titleOf(path))
                            .arg(std::uint8_t(bytes[PicFileBuffer::kPicNumberOffset])));
            break;
        }
        return false;
    }
    m_archived = std::get<OpenedPicture>(opened).archived;
    m_buffer = std::get<OpenedPicture>(opened).buffer;
    core::PixelGrid picture(profile().rows, profile().columns);
    m_buffer.decodePicture(picture);
    // The box shows the comment up to its NUL; the bytes after it stay in the buffer.
    Text1->setText(core::commentText(core::untilNul(m_buffer.commentField())));
    // Selecting a different option re-applies the header template; the same one does not.
    Option1[m_buffer.picNumber() + 1]->setChecked(true);
    showReadPicture(path, picture);
    setStatusFileText(titleOf(path));
    return true;
}

void FrmDotwell::openCommandLine(const QString& commandLine) {
    if (!hasCalculatorExtension(latin(commandLine))) {
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
    request.filter =
        QStringLiteral("82/3 Images|*.82i;*.83i|All Files|*.*|TI-83 Plus/84 Plus Images|*.8xi");
    request.defaultExtension = QStringLiteral("82I");
    const core::FileDialogAnswer answer = prompts().askFileName(this, request);
    if (!answer.accepted)
        return;
    if (!hasCalculatorExtension(latin(titleOf(answer.path)))) {
        setFileName(answer.path);
        prompts().message(this, kImageErrorTitle, QStringLiteral("Invalid File Format!"),
                          core::MessageIcon::Exclamation, core::MessageButtons::Ok);
        return;
    }
    openPictureFile(answer.path);
}

bool FrmDotwell::picNumberRefused(const QString& name) {
    if (!endsWith82I(latin(name)) || selectedOption() < 7)
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
    const std::vector<std::uint8_t> bytes =
        savedPictureBytes(m_buffer, latin(titleOf(path)), *comment, grid(), m_archived);
    const QString error = core::writeFileAtomically(
        path, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    if (!error.isEmpty()) {
        showWarning(windowTitle(),
                    tr("Cannot save %1:\n%2").arg(core::displayFileName(path), error));
        return false;
    }
    return true;
}

void FrmDotwell::miSave_click() {
    // Never put a calculator image into a bitmap, an empty name or any other kind of file.
    if (!hasCalculatorExtension(latin(titleOf(fileName())))) {
        miSaveAs_Click();
        return;
    }
    if (picNumberRefused(fileName()))
        return;
    if (writePictureFile(fileName()))
        pictureSaved();
}

void FrmDotwell::miSaveAs_Click() {
    core::FileDialogRequest request;
    request.kind = core::FileDialogRequest::Kind::Save;
    request.title = QStringLiteral("Dotwell Save As...");
    request.filter = QStringLiteral("TI-82 Image Files (*.82i)|*.82i|TI-83 Image Files "
                                    "(*.83I)|*.83I|Bitmaps (*.bmp)|*.bmp|TI-83 Plus/84 Plus Image "
                                    "Files (*.8xi)|*.8xi|PNG images (*.png)|*.png");
    request.filterIndex = 1;
    request.entriesWithOwnExtension = {3, 4, 5}; // a bare name there gets its own extension
    request.defaultExtension = QStringLiteral("82i");
    request.initialName = QStringLiteral("*.82i");
    if (endsWith8XI(latin(titleOf(fileName())))) {
        // A TI-83 Plus picture is saved as one unless the user picks another entry.
        request.filterIndex = 4;
        request.initialName = QStringLiteral("*.8xi");
    }
    request.flags = core::kOverwritePrompt | core::kHideReadOnly;
    const core::FileDialogAnswer answer = prompts().askFileName(this, request);
    if (!answer.accepted)
        return;

    const core::SaveAsTarget target =
        core::saveAsTarget(kSaveAsNaming, answer.path.toStdString(), answer.filterIndex);
    const QString path = QString::fromStdString(target.name);
    if (picNumberRefused(path)) {
        setFileName(QString());
        return;
    }
    completeSaveAs(
        target, [this](const QString& file) { return writePictureFile(file); },
        tr("Invalid Filename: use a name ending in .82i, .83i or .8xi, or .bmp or .png for a "
           "picture. Nothing was saved."));
}

} // namespace dotwell
