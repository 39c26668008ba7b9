// SPDX-License-Identifier: GPL-2.0-or-later
// Copyright (C) 2026 The Dotwell and Pixvane authors

#include "core/ui/picture_export.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

#include "core/imaging/picture_writer.h"

namespace core {

void exportPicture(QWidget* window, Prompts& prompts, const QImage& image, const QString& path,
                   const char* format, const QString& failure) {
    const QString error = writePicture(image, path, format);
    if (!error.isEmpty()) {
        prompts.message(
            window, window->windowTitle(),
            QStringLiteral("%1\n%2\n\n%3").arg(failure, QDir::toNativeSeparators(path), error),
            MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    prompts.message(window, window->windowTitle(), QFileInfo(path).fileName() + " is saved.",
                    MessageIcon::None, MessageButtons::Ok);
}

void exportBitmap(QWidget* window, Prompts& prompts, const QImage& canvas, const QString& path) {
    exportPicture(
        window, prompts, canvas, path, "bmp",
        QCoreApplication::translate("core::EditorWindow", "The bitmap could not be saved as"));
}

void exportPng(QWidget* window, Prompts& prompts, const PixelGrid& picture, const QString& path,
               CellKind kind) {
    exportPicture(
        window, prompts, gridImage(picture, kind), path, "png",
        QCoreApplication::translate("core::EditorWindow", "The PNG picture could not be saved as"));
}

} // namespace core
