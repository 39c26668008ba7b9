// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/convert_command.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include "core/imaging/picture_conversion_source.h"
#include "core/ui/convert_image_dialog.h"

namespace core {

std::optional<PixelGrid> ConvertCommand::fromFile(const PixelGrid& current) {
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.title = QCoreApplication::translate("core::EditorWindow", "Convert Image");
    request.flags = kFileMustExist | kHideReadOnly;
    request.filter = convertibleFilter();
    const FileDialogAnswer answer = m_prompts.askFileName(m_window, request);
    if (!answer.accepted)
        return std::nullopt;
    QString error;
    const QImage picture = readPictureToConvert(answer.path, &error);
    if (picture.isNull()) {
        m_prompts.message(m_window, m_window->windowTitle(),
                          QCoreApplication::translate("core::EditorWindow",
                                                      "%1 cannot be converted:\n%2\n\nNothing was "
                                                      "changed.")
                              .arg(QDir::toNativeSeparators(answer.path), error),
                          MessageIcon::Exclamation, MessageButtons::Ok);
        return std::nullopt;
    }
    return fromImage(picture, current);
}

std::optional<PixelGrid> ConvertCommand::fromImage(const QImage& picture,
                                                   const PixelGrid& current) {
    ConvertImageDialog dialog(m_profile, picture, current, m_window);
    if (!m_prompts.runDialog(&dialog))
        return std::nullopt;
    return dialog.result();
}

} // namespace core
