// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/convert_command.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include "core/ui/convert_image_dialog.h"

namespace core {

std::optional<PixelGrid> ConvertCommand::fromFile(const PixelGrid& current, CellKind kind) {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = QCoreApplication::translate("core::EditorWindow", "Convert Image");
    request.flags = kFileMustExist | kHideReadOnly;
    request.filter = convertibleFilter();
    const FileDialogAnswer answer = m_prompts.askFileName(m_window, request);
    if (!answer.accepted)
        return std::nullopt;
    QString error;
    const PictureToConvert picture =
        readPictureToConvert(answer.path, QSize(current.columns(), current.rows()), &error);
    if (picture.isNull()) {
        refuse(QCoreApplication::translate("core::EditorWindow",
                                           "%1 cannot be converted:\n%2\n\nNothing was changed.")
                   .arg(QDir::toNativeSeparators(answer.path), error));
        return std::nullopt;
    }
    return fromPicture(picture, current, kind);
}

std::optional<PixelGrid> ConvertCommand::fromClipboard(const QMimeData* data,
                                                       const PixelGrid& current, CellKind kind) {
    QString error;
    const PictureToConvert picture =
        readClipboardPicture(data, QSize(current.columns(), current.rows()), &error);
    if (picture.isNull()) {
        refuse(error);
        return std::nullopt;
    }
    return fromPicture(picture, current, kind);
}

std::optional<PixelGrid> ConvertCommand::fromPicture(const PictureToConvert& picture,
                                                     const PixelGrid& current, CellKind kind) {
    ConvertImageDialog dialog(m_profile, picture, current, m_window, kind);
    if (!m_prompts.runDialog(&dialog))
        return std::nullopt;
    return dialog.result();
}

void ConvertCommand::refuse(const QString& text) {
    m_prompts.message(m_window, m_window->windowTitle(), text, MessageIcon::Exclamation,
                      MessageButtons::Ok);
}

} // namespace core
